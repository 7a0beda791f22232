#include "TProvider.h"
#include "common/TextRules.h"

#include <QUrl>

using TextRules::isControlOrBlank;

void TProvider::setLoginStep(const PageStep& step)
{
    LoginUrl = step.url;
    LoginFrame = step.frame;
    LoginForm = step.form;
    LoginSubmit = step.submit;
    LoginSubmitLookup = step.submitLookup;
    LoginSubmitValue = step.submitValue;
}

void TProvider::setMessageStep(const PageStep& step)
{
    MsgUrl = step.url;
    MsgFrame = step.frame;
    MsgForm = step.form;
    MsgSubmit = step.submit;
    MsgSubmitLookup = step.submitLookup;
    MsgSubmitValue = step.submitValue;
}

TProvider TProvider::fromParameters(const std::function<QString(const QString& name)>& param)
{
    auto text = [&](const char* name) { return param(QLatin1String(name)); };
    auto number = [&](const char* name, qint32 fallback) { return parseDecimalInt(text(name), fallback); };
    // Byte fields keep the low 8 bits, so 256 becomes 0.
    auto byte = [&](const char* name, qint32 fallback) { return static_cast<quint8>(number(name, fallback) & 0xFF); };

    TProvider p;
    p.Name = text("Name");
    p.AreaCodes = text("AreaCodes");
    p.LoginUrl = text("LoginUrl");
    p.LoginFrame = number("LoginFrame", -1);
    p.LoginForm = text("LoginForm");
    p.UserField = text("UserField");
    p.PassField = text("PassField");
    p.LoginSubmit = byte("LoginSubmit", 0);
    p.LoginSubmitLookup = text("LoginSubmitLookup");
    p.LoginSubmitValue = text("LoginSubmitValue");
    p.MsgUrl = text("MsgUrl");
    p.MsgFrame = number("MsgFrame", -1);
    p.MsgForm = text("MsgForm");
    p.FromField = text("FromField");
    p.AreaField = text("AreaField");
    p.PhoneField = text("PhoneField");
    p.MsgField = text("MsgField");
    p.MsgSubmit = byte("MsgSubmit", 0);
    p.MsgSubmitLookup = text("MsgSubmitLookup");
    p.MsgSubmitValue = text("MsgSubmitValue");
    p.ResAccepted = text("ResAccepted");
    p.ResRejected = text("ResRejected");
    p.MsgLimit = text("MsgLimit");
    p.SignupURL = text("SignupURL");
    p.ClearCRLF = byte("ClearCRLF", 1);
    p.KeepSession = byte("KeepSession", 1);
    return p;
}

QList<QPair<const char*, QString>> TProvider::parameters() const
{
    return {
        { "Name", Name },
        { "AreaCodes", AreaCodes },
        { "LoginUrl", LoginUrl },
        { "LoginFrame", QString::number(LoginFrame) },
        { "LoginForm", LoginForm },
        { "UserField", UserField },
        { "PassField", PassField },
        { "LoginSubmit", QString::number(LoginSubmit) },
        { "LoginSubmitLookup", LoginSubmitLookup },
        { "LoginSubmitValue", LoginSubmitValue },
        { "MsgUrl", MsgUrl },
        { "MsgFrame", QString::number(MsgFrame) },
        { "MsgForm", MsgForm },
        { "FromField", FromField },
        { "AreaField", AreaField },
        { "PhoneField", PhoneField },
        { "MsgField", MsgField },
        { "MsgSubmit", QString::number(MsgSubmit) },
        { "MsgSubmitLookup", MsgSubmitLookup },
        { "MsgSubmitValue", MsgSubmitValue },
        { "ResAccepted", ResAccepted },
        { "ResRejected", ResRejected },
        { "MsgLimit", MsgLimit },
        { "SignupURL", SignupURL },
        { "ClearCRLF", QString::number(ClearCRLF) },
        { "KeepSession", QString::number(KeepSession) },
    };
}

namespace {
// An address with a scheme of its own that is not http or https. One without a scheme never loads at all.
bool hasForeignScheme(const QString& address)
{
    const QString scheme = QUrl(address.trimmed()).scheme().toLower();
    return !scheme.isEmpty() && scheme != QLatin1String("http") && scheme != QLatin1String("https");
}
} // namespace

QString unsafePageAddressField(const TProvider& provider)
{
    if (hasForeignScheme(provider.LoginUrl))
        return QStringLiteral("LoginUrl");
    if (hasForeignScheme(provider.MsgUrl))
        return QStringLiteral("MsgUrl");
    return QString();
}

QStringList parseCommaText(const QString& text)
{
    QStringList items;
    // The text ends at its end or at a NUL, whichever comes first.
    const int n = text.contains(QChar(0)) ? text.indexOf(QChar(0)) : text.size();
    int i = 0;
    auto skipBlanks = [&] {
        while (i < n && isControlOrBlank(text[i]))
            ++i;
    };
    skipBlanks();
    while (i < n) {
        QString item;
        if (text[i] == QLatin1Char('"')) {
            ++i;
            while (i < n) {
                if (text[i] == QLatin1Char('"')) {
                    if (i + 1 < n && text[i + 1] == QLatin1Char('"')) {
                        item += QLatin1Char('"');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                item += text[i++];
            }
        } else {
            const int start = i;
            while (i < n && !isControlOrBlank(text[i]) && text[i] != QLatin1Char(','))
                ++i;
            item = text.mid(start, i - start);
        }
        items.append(item);
        skipBlanks();
        if (i < n && text[i] == QLatin1Char(',')) {
            ++i;
            skipBlanks();
        }
    }
    return items;
}

qint32 parseDecimalInt(const QString& text, qint32 defaultValue)
{
    bool ok = false;
    // toInt accepts surrounding blanks; the tag values never carry them, but " 5" is not a number here.
    if (text.isEmpty() || text.front().isSpace() || text.back().isSpace())
        return defaultValue;
    const qint32 value = text.toInt(&ok, 10);
    return ok ? value : defaultValue;
}

int FindProviderByArea(const TProviders& providers, const QString& areaCode)
{
    for (int i = 0; i < providers.size(); ++i) {
        const QStringList codes = parseCommaText(providers[i].AreaCodes);
        for (const QString& code : codes) {
            if (code.compare(areaCode, Qt::CaseInsensitive) == 0)
                return i;
        }
    }
    return -1;
}

QString areaCodeOf(const QString& areaDef)
{
    const int eq = areaDef.indexOf(QLatin1Char('='));
    return eq < 0 ? QString() : areaDef.left(eq);
}

QString areaValueFor(const QStringList& areaDefs, const QString& code)
{
    for (const QString& item : areaDefs) {
        const int eq = item.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        if (item.left(eq).compare(code, Qt::CaseInsensitive) == 0)
            return item.mid(eq + 1);
    }
    return QString();
}
