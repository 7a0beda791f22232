// Interface-language modules: the compiled translations next to the program file ("zelkora.ENU"), which a
// user may copy from anywhere or another program may leave damaged. Loaded, used for a few texts, and put
// away again, as the language window does.

#include "FuzzSupport.h"

#include "language/LanguageModules.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTranslator>

#include <cstring>

namespace {
struct Text
{
    const char* context;
    const char* source;
};

// Texts of the program's own translations, one of them with a number in it, and the direction.
const Text Texts[] = {
    { "ResStrings", "רשימת הנמענים ריקה" },
    { "ResStrings", "ההודעה ריקה" },
    { "Contacts::VCardContacts", "אין איש קשר בשם %1" },
    { "HistoryStore", "לא נשלחה: השליחה נקטעה לפני תורה" },
    { "QGuiApplication", "QT_LAYOUT_DIRECTION" },
};

Qt::LayoutDirection directionOf(const QTranslator* module)
{
    const QString said = module ? module->translate("QGuiApplication", "QT_LAYOUT_DIRECTION").trimmed() : QString();
    return said == QLatin1String("LTR") ? Qt::LeftToRight : Qt::RightToLeft;
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::quietQtMessages();
    static int argc = 1;
    static char name[] = "fuzz_language_module";
    static char* argv[] = { name, nullptr };
    new QGuiApplication(argc, argv);
    // As at start-up without a module: the built-in texts, right to left.
    LanguageModules::applyLayoutDirection();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString base = FuzzSupport::scratchDir() + QStringLiteral("/zelkora");
    {
        QFile file(base + QStringLiteral(".XYZ"));
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) == qint64(size));
    }

    // The code is found in any letter case, and either way the same file loads or fails alike.
    bool loaded = false;
    for (const QString& code : { QStringLiteral("XYZ"), QStringLiteral("xyz") }) {
        QTranslator* module = LanguageModules::LoadLanguageModule(base, code);
        FUZZ_CHECK(LanguageModules::activeModule() == module);
        if (code == QLatin1String("xyz"))
            FUZZ_CHECK((module != nullptr) == loaded);
        loaded = module != nullptr;
        if (!module) {
            FUZZ_CHECK(LanguageModules::activeModuleFile().isEmpty());
            FUZZ_CHECK(QGuiApplication::layoutDirection() == Qt::RightToLeft);
            continue;
        }
        FUZZ_CHECK(size > 0);
        FUZZ_CHECK(LanguageModules::activeModuleFile() == base + QStringLiteral(".XYZ"));

        // Every text now comes from the module, or stays as written where the module has none.
        for (const Text& text : Texts) {
            const QString own = module->translate(text.context, text.source);
            const QString shown = QCoreApplication::translate(text.context, text.source);
            FUZZ_CHECK(shown == (own.isNull() ? QString::fromUtf8(text.source) : own));
            (void)shown.arg(QStringLiteral("דנה"));
            for (const int n : { -1, 0, 1, 2, 11, 1000000 })
                (void)QCoreApplication::translate(text.context, text.source, nullptr, n);
        }
        const QByteArray context = QByteArray(reinterpret_cast<const char*>(data), qMin<qsizetype>(size, 24));
        (void)QCoreApplication::translate(context.constData(), "QT_LAYOUT_DIRECTION", context.constData(), 3);
        LanguageModules::applyLayoutDirection();
        FUZZ_CHECK(QGuiApplication::layoutDirection() == directionOf(module));

        // Put away: the built-in Hebrew texts, right to left, stand again.
        LanguageModules::SetResourceModule(nullptr);
        FUZZ_CHECK(LanguageModules::activeModule() == nullptr && LanguageModules::activeModuleFile().isEmpty());
        FUZZ_CHECK(QGuiApplication::layoutDirection() == Qt::RightToLeft);
        // (Qt's own texts, which the Hebrew interface takes from Qt's translations, aside.)
        for (const Text& text : Texts) {
            if (std::strcmp(text.context, "QGuiApplication") != 0)
                FUZZ_CHECK(QCoreApplication::translate(text.context, text.source) == QString::fromUtf8(text.source));
        }
    }
    return 0;
}
