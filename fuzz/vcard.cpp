// vCard files of the contacts folder, which other programs write: every card and every property read the
// way the contacts layer reads them.

#include "FuzzSupport.h"

#include "contacts/VCardReader.h"
#include "contacts/VCardWriter.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::quietQtMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = FuzzSupport::bytes(data, size);
    const Contacts::VCardReader::Result result = Contacts::VCardReader::read(bytes);
    FUZZ_CHECK(result.unreadable >= 0);
    FUZZ_CHECK(!result.cards.isEmpty() || result.unreadable > 0);

    qsizetype previousEnd = 0;
    for (const Contacts::VCard& card : result.cards) {
        // Cards lie one after another inside the file, and their properties inside them: a change to a card
        // replaces exactly these bytes.
        FUZZ_CHECK(card.source.size() == bytes.size());
        FUZZ_CHECK(previousEnd <= card.begin);
        FUZZ_CHECK(card.begin < card.endLine && card.endLine < card.end && card.end <= bytes.size());
        previousEnd = card.end;
        qsizetype previousProperty = card.begin;
        for (const Contacts::VCardProperty& property : card.properties) {
            FUZZ_CHECK(previousProperty < property.begin);
            FUZZ_CHECK(property.begin < property.valueBegin);
            FUZZ_CHECK(property.valueBegin <= property.end && property.end <= card.endLine);
            previousProperty = property.begin;

            (void)card.value(property);
            (void)card.text(property);
            (void)property.parameters();
            (void)property.hasType("CELL");
        }
        (void)card.uid();
        (void)card.mobileIndex();
        (void)card.fullName();
        (void)card.mobileNumber();
    }

    // A name changed in the phone book is written over the first card's FN line, as the contacts folder does:
    // the file then reads back with that name and with every other card as it was.
    if (result.cards.isEmpty())
        return 0;
    const Contacts::VCard& first = result.cards.front();
    const int fn = first.indexOf("FN");
    if (fn < 0)
        return 0;
    const Contacts::VCardProperty& property = first.properties[fn];
    const QString name = QStringLiteral("דנה \"לוי\", 3; ü\\");
    QByteArray changed = bytes;
    changed.replace(
        property.begin, property.end - property.begin, Contacts::VCardWriter::changedLine(first, property, name));
    const Contacts::VCardReader::Result reread = Contacts::VCardReader::read(changed);
    FUZZ_CHECK(reread.cards.size() == result.cards.size());
    FUZZ_CHECK(reread.cards.front().fullName() == name);
    FUZZ_CHECK(reread.cards.front().mobileNumber() == first.mobileNumber());
    for (qsizetype i = 1; i < result.cards.size(); ++i) {
        FUZZ_CHECK(reread.cards[i].fullName() == result.cards[i].fullName());
        FUZZ_CHECK(reread.cards[i].mobileNumber() == result.cards[i].mobileNumber());
    }
    return 0;
}
