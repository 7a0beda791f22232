// Processing speed of a large service document, set against a bare memchr scan of the same bytes for
// '<' so that the figure means something on a shared, noisy machine.
#include "service/ServiceState.h"

#include <QByteArray>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {
// "%XX" escapes of windows-1255 Hebrew letters, a word of `length` letters from `seed`.
QByteArray hebrewEscapes(int seed, int length)
{
    QByteArray out;
    for (int i = 0; i < length; ++i) {
        out += '%';
        out += QByteArray::number(0xE0 + (seed * 7 + i * 3) % 27, 16).toUpper();
    }
    return out;
}

QByteArray generateDocument(qsizetype targetSize)
{
    QByteArray doc;
    doc.reserve(targetSize + 4096);
    doc += "<html><body>\r\n<#PROVIDERS>\r\n<#AREAS DEFS=050=050,052=052,054=054,057=057>\r\n"
           "<#PARAMS StatisticsInterval=60 InitInterval=30000>\r\n<#SESSION ID=bench>\r\n<#ADVERTS>\r\n";
    for (int i = 0; i < 1000; ++i) {
        doc += "<#PROVIDER Name=" + hebrewEscapes(i, 8) + QByteArray::number(i) + " AreaCodes=\"05"
            + QByteArray::number(i % 10) + ",07" + QByteArray::number(i % 10)
            + "\" LoginUrl=http://127.0.0.1/login.asp?x=1%26y=2 LoginFrame=1 LoginForm=frmLogin "
              "UserField=txtUser PassField=txtPass LoginSubmit=2 LoginSubmitLookup=INPUT "
              "LoginSubmitValue=%E4%FA%E7%E1%F8 MsgUrl=http://127.0.0.1/sms.asp MsgFrame=0 MsgForm=frmSms "
              "FromField=txtFrom AreaField=selArea PhoneField=txtPhone MsgField=txtMsg MsgSubmit=1 "
              "MsgSubmitLookup=INPUT MsgSubmitValue=%F9%EC%E7 ResAccepted="
            + hebrewEscapes(i + 1, 24) + " ResRejected=\"" + hebrewEscapes(i + 2, 20)
            + "\" MsgLimit=" + hebrewEscapes(i + 3, 30) + "+160 ClearCRLF=1 SignupURL=http://127.0.0.1/signup>\r\n";
    }
    const QByteArray filler = "<p class=\"note\">Lorem ipsum <b>dolor</b> sit amet, consectetur adipiscing "
                              "elit, sed do eiusmod tempor.</p>\r\n";
    const qsizetype fillerPerAdvert
        = std::max<qsizetype>(0, (targetSize - doc.size() - 20000 * 230) / (20000 * filler.size()));
    for (int i = 0; i < 20000; ++i) {
        doc += "<#ADVERT AdBannerName=" + hebrewEscapes(i, 6) + "_" + QByteArray::number(i)
            + " AdBannerType=gif AdURL=http://127.0.0.1/banners/" + QByteArray::number(i)
            + ".gif AdHomeURL=\"http://127.0.0.1/go?id=" + QByteArray::number(i)
            + "&src=zelkora\" Interval=" + QByteArray::number(5 + i % 20) + ">\r\n";
        for (qsizetype f = 0; f < fillerPerAdvert; ++f)
            doc += filler;
    }
    while (doc.size() < targetSize - 64)
        doc += filler;
    doc += "<#UPDATED>\r\n<#FINISHED>\r\n</body></html>\r\n";
    return doc;
}

double megabytesPerSecond(qsizetype bytes, qint64 nanoseconds)
{
    return (static_cast<double>(bytes) / 1e6) / (static_cast<double>(nanoseconds) / 1e9);
}

qint64 median(std::vector<qint64> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}
} // namespace

int main()
{
    const QByteArray document = generateDocument(10 * 1000 * 1000);
    const int runs = 7;

    std::vector<qint64> processTimes;
    std::vector<qint64> scanTimes;
    int providers = 0;
    qsizetype adverts = 0;
    bool ok = true;
    size_t openers = 0;
    for (int run = 0; run < runs; ++run) {
        TProviders providerList;
        QStringList areaDefs;
        ServiceState state(providerList, areaDefs);
        QElapsedTimer timer;
        timer.start();
        ok = state.ProcessDocument(document).ok && ok;
        processTimes.push_back(timer.nsecsElapsed());
        providers = providerList.size();
        adverts = state.Adverts.Count();
        if (state.connection != ConnectionState::Service)
            ok = false;

        timer.start();
        openers = 0;
        const char* p = document.constData();
        const char* end = p + document.size();
        while ((p = static_cast<const char*>(std::memchr(p, '<', static_cast<size_t>(end - p))))) {
            ++openers;
            ++p;
        }
        scanTimes.push_back(timer.nsecsElapsed());
    }

    const qint64 process = median(processTimes);
    const qint64 scan = median(scanTimes);
    std::printf("document: %.2f MB, %d providers, %lld adverts, %zu '<' characters, processed %s\n",
        static_cast<double>(document.size()) / 1e6, providers, static_cast<long long>(adverts), openers,
        ok ? "completely" : "WITH ERRORS");
    std::printf("median of %d runs\n", runs);
    std::printf("  ProcessDocument        %8.1f MB/s  (%6.1f ms, best %6.1f ms)\n",
        megabytesPerSecond(document.size(), process), static_cast<double>(process) / 1e6,
        static_cast<double>(*std::min_element(processTimes.begin(), processTimes.end())) / 1e6);
    std::printf("  memchr scan for '<'    %8.1f MB/s  (%6.1f ms)\n", megabytesPerSecond(document.size(), scan),
        static_cast<double>(scan) / 1e6);
    std::printf("  processing takes %.1f times as long as the scan\n",
        static_cast<double>(process) / static_cast<double>(std::max<qint64>(scan, 1)));
    return ok ? 0 : 1;
}
