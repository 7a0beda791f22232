// The service document as the program takes it in: normalised into lines, walked tag by tag, and every tag
// applied to the service state (providers, areas, banners, parameters, messages).

#include "FuzzSupport.h"

#include "service/ServiceDocument.h"
#include "service/ServiceState.h"

namespace {
// MESSAGE would otherwise go to the console prompt.
class SilentHost : public ServiceHost
{
public:
    void showMessage(const QString&) override { }
};

void checkNormalForm(const ServiceDocument& document)
{
    const QByteArray& text = document.text();
    // Every line ends in CR LF and holds neither CR nor LF nor NUL.
    FUZZ_CHECK(!text.contains('\0'));
    FUZZ_CHECK(text.isEmpty() || text.endsWith("\r\n"));
    FUZZ_CHECK(text.count('\r') == document.lineCount());
    FUZZ_CHECK(text.count('\n') == document.lineCount());
    FUZZ_CHECK(text.count("\r\n") == document.lineCount());

    // The normal form is its own normal form; providers.dat is read back through the same function.
    const ServiceDocument again = ServiceDocument::fromText(text);
    FUZZ_CHECK(again.text() == text);
    FUZZ_CHECK(again.lineCount() == document.lineCount());
    FUZZ_CHECK(again.tooLongLine() == document.tooLongLine());
    FUZZ_CHECK(again.tooLongOffset() == document.tooLongOffset());

    if (document.tooLongLine() == 0) {
        FUZZ_CHECK(document.tooLongOffset() < 0);
        return;
    }
    // The offset is the start of that line, and the line is too long.
    const qsizetype at = document.tooLongOffset();
    FUZZ_CHECK(at >= 0 && at < text.size());
    FUZZ_CHECK(at == 0 || text.mid(at - 2, 2) == "\r\n");
    FUZZ_CHECK(text.left(at).count("\r\n") == document.tooLongLine() - 1);
    FUZZ_CHECK(text.indexOf("\r\n", at) - at > ServiceDocument::MaxLineLength);
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::quietQtMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray raw = FuzzSupport::bytes(data, size);
    const ServiceDocument document = ServiceDocument::fromText(raw);
    checkNormalForm(document);

    TProviders providers;
    QStringList areaDefs;
    SilentHost host;
    ServiceState state(providers, areaDefs, &host);
    const ProcessResult result = state.ProcessDocument(raw);
    FUZZ_CHECK(state.Document.text() == document.text());
    FUZZ_CHECK(document.tooLongLine() == 0 || !result.ok);
    FUZZ_CHECK(result.ok == result.error.isEmpty());

    // What the window and the engine then do with the definitions.
    for (const QString& def : areaDefs) {
        const QString code = areaCodeOf(def);
        (void)areaValueFor(areaDefs, code);
        (void)FindProviderByArea(providers, code);
    }
    (void)state.Adverts.HitsText();
    return 0;
}
