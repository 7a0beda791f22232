// The phone book's rules without a window: what adding, changing and removing an entry do to the table and,
// in Outlook mode, to the address book, and the outcome each gives.
#include "TestEnv.h"
#include "phonebook/PhoneBookSession.h"
#include "phonebook/PhoneBookTable.h"

#include <QtTest>

using Session = PhoneBookSession;
using Outcome = PhoneBookSession::Outcome;

class TestPhoneBookSession : public QObject
{
    Q_OBJECT

    // The address book's answer to every step: "ok", "exists", "refuses" or "fails".
    QString m_answer;
    QStringList m_steps;

    Session::OutlookSteps steps()
    {
        auto answer = [this](const char* step) {
            m_steps << QLatin1String(step);
            if (m_answer == QLatin1String("refuses"))
                throw Session::OutlookSteps::Refusal(QStringLiteral("changed meanwhile"));
            if (m_answer == QLatin1String("fails"))
                throw ZelkoraError(QStringLiteral("no contact"));
        };
        Session::OutlookSteps s;
        s.createContact = [this, answer](Session::Recipient& entry) {
            answer("create");
            entry.card = QStringLiteral("card-1");
            return m_answer == QLatin1String("exists") ? Session::OutlookSteps::Creation::AlreadyExists
                                                       : Session::OutlookSteps::Creation::Created;
        };
        s.updateContact = [answer](Session::Recipient& entry) {
            answer("update");
            entry.cardDigest = QStringLiteral("digest-2");
        };
        s.deleteContact = [answer](const Session::Recipient&) { answer("delete"); };
        return s;
    }

private slots:
    void init()
    {
        TestEnv::freshAppDir();
        TestEnv::freshConfigDir();
        m_steps.clear();
    }

    void outcomes_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QStringList>("names"); // the table afterwards
        const QStringList before { "Rachel" };
        const QStringList added { "Dina", "Rachel" };
        QTest::newRow("add") << "add"
                             << "ok" << int(Outcome::Done) << added;
        QTest::newRow("add a name the book has") << "add"
                                                 << "exists" << int(Outcome::AlreadyExists) << before;
        QTest::newRow("add, the book unreachable") << "add"
                                                   << "fails" << int(Outcome::Failed) << before;
        QTest::newRow("update refused") << "update"
                                        << "refuses" << int(Outcome::Refused) << before;
        QTest::newRow("update of a contact gone") << "update"
                                                  << "fails" << int(Outcome::NotFound) << before;
        QTest::newRow("remove") << "remove"
                                << "ok" << int(Outcome::Done) << QStringList();
        QTest::newRow("remove refused") << "remove"
                                        << "refuses" << int(Outcome::Refused) << before;
    }
    void outcomes()
    {
        QFETCH(QString, operation);
        QFETCH(QString, answer);
        QFETCH(int, outcome);
        QFETCH(QStringList, names);
        PhoneBookTable phoneBook(PhoneBookTable::Kind::PhoneBook);
        PhoneBookTable cache(PhoneBookTable::Kind::OutlookCache);
        QVERIFY(cache.appendRecord({ "Rachel", "", "", "+972-52-1234567", "card-0", "digest-0" }));
        Session session(&phoneBook, &cache, steps());
        session.setOutlookMode(true);
        m_answer = answer;
        Session::Result result;
        if (operation == QLatin1String("add"))
            result = session.add({ "Dina", "052", "7654321", {}, {} });
        else if (operation == QLatin1String("update"))
            result = session.update(0, { "Rachel", "052", "1234567", {}, {} });
        else
            result = session.remove(0);
        QCOMPARE(int(result.outcome), outcome);
        QStringList left;
        for (int row = 0; row < cache.recordCount(); ++row)
            left << cache.fieldText(row, QStringLiteral("Name"));
        QCOMPARE(left, names);
        // A refused change leaves the row as it was; a stored one takes the card as the book gave it back.
        if (operation == QLatin1String("update") && outcome != int(Outcome::Done))
            QCOMPARE(
                cache.recordValues(0), (QStringList { "Rachel", "", "", "+972-52-1234567", "card-0", "digest-0" }));
        if (operation == QLatin1String("add") && outcome == int(Outcome::Done))
            QCOMPARE(cache.recordValues(0), (QStringList { "Dina", "052", "7654321", "", "card-1", "digest-2" }));
    }

    // The local phone book knows no address book: its entries never reach one.
    void localEntriesStayLocal()
    {
        PhoneBookTable phoneBook(PhoneBookTable::Kind::PhoneBook);
        PhoneBookTable cache(PhoneBookTable::Kind::OutlookCache);
        Session session(&phoneBook, &cache, steps());
        QCOMPARE(int(session.add({ "Dina", "052", "7654321", {}, {} }).outcome), int(Outcome::Done));
        QCOMPARE(int(session.update(0, { "Dana", "052", "7654321", {}, {} }).outcome), int(Outcome::Done));
        QCOMPARE(phoneBook.fieldText(0, QStringLiteral("Name")), QStringLiteral("Dana"));
        QCOMPARE(int(session.remove(0).outcome), int(Outcome::Done));
        QVERIFY(phoneBook.isEmpty());
        QVERIFY(m_steps.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestPhoneBookSession)
#include "test_phonebooksession.moc"
