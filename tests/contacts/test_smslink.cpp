// sms: and smsto: links as web pages, mail programs and phones write them.
#include "contacts/SmsLink.h"

#include <QtTest>

using Contacts::SmsLink;

class TestSmsLink : public QObject
{
    Q_OBJECT

private slots:
    void links_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("countryCode");
        QTest::addColumn<QStringList>("recipients"); // area-phone
        QTest::addColumn<QString>("body");
        QTest::addColumn<QStringList>("unreadable");
        QTest::newRow("international, body") << "sms:+972521234567?body=Hello"
                                             << "972" << QStringList { "052-1234567" } << "Hello" << QStringList {};
        QTest::newRow("dashes, encoded Hebrew and line break")
            << "SMS:+972-52-1234567?body=%D7%A9%D7%9C%D7%95%D7%9D%0A1+1"
            << "972" << QStringList { "052-1234567" } << QString::fromUtf8("שלום\n1+1") << QStringList {};
        QTest::newRow("local, encoded blank in the number")
            << "sms:052%201234567"
            << "972" << QStringList { "052-1234567" } << "" << QStringList {};
        QTest::newRow("several, one of another country")
            << "sms:0521234567,+447911123456,%2B972-54-7654321?body=x"
            << "972" << QStringList { "052-1234567", "054-7654321" } << "x" << QStringList { "+447911123456" };
        QTest::newRow("as phones write it") << "sms://+972521234567;via=x?&body=a%26b"
                                            << "972" << QStringList { "052-1234567" } << "a&b" << QStringList {};
        QTest::newRow("smsto with text") << "smsto:0521234567:See you: at 8"
                                         << "972" << QStringList { "052-1234567" } << "See you: at 8" << QStringList {};
        QTest::newRow("smsto, a list") << "smsto:052-1234567,054-7654321"
                                       << "972" << QStringList { "052-1234567", "054-7654321" } << "" << QStringList {};
        QTest::newRow("another country set") << "sms:+3521234567"
                                             << "35" << QStringList { "02-1234567" } << "" << QStringList {};
        QTest::newRow("not a number") << "sms:hello?body=hi"
                                      << "972" << QStringList {} << "hi" << QStringList { "hello" };
        QTest::newRow("not a link") << "mailto:a@b"
                                    << "972" << QStringList {} << "" << QStringList {};
    }

    void links()
    {
        QFETCH(QString, link);
        QFETCH(QString, countryCode);
        QFETCH(QStringList, recipients);
        QFETCH(QString, body);
        QFETCH(QStringList, unreadable);

        const SmsLink parsed = SmsLink::parse(link, countryCode);
        QStringList numbers;
        for (const Contacts::MobileNumber& number : parsed.recipients)
            numbers << number.area + '-' + number.phone;
        QCOMPARE(numbers, recipients);
        QCOMPARE(parsed.body, body);
        QCOMPARE(parsed.unreadable, unreadable);
        QCOMPARE(SmsLink::isLink(link), !link.startsWith("mailto"));
    }
};

QTEST_GUILESS_MAIN(TestSmsLink)
#include "test_smslink.moc"
