#include "PhoneBookSteps.h"

#include "common/UserPrompt.h"
#include "contacts/ImportProgress.h"
#include "contacts/VCardContacts.h"
#include "contacts/VCardApplication.h"
#include "contacts/VCardFolder.h"
#include "phonebook/PhoneBookTable.h"
#include "phonebook/TProgressForm.h"

#include <QCoreApplication>
#include <QLabel>

namespace Contacts {

namespace {
    using Steps = TPhoneBookForm::OutlookSteps;

    // The gauge of TProgressForm.
    class GaugeProgress : public ImportProgress
    {
    public:
        explicit GaugeProgress(TProgressForm& form)
            : m_form(form)
        {
            m_form.repaint();
        }

        void setRange(int minimum, int maximum) override
        {
            m_form.gauge->setRange(minimum, maximum);
            m_form.gauge->setProgress(minimum);
        }

        void advance() override { m_form.gauge->AddProgress(1); }

        // Repaints and timers run; what the user types or clicks waits until the table is full, so that
        // nothing starts another import or closes the window half-way.
        void letMessagesRun() override { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

        void disconnecting() override
        {
            m_form.gauge->setShowText(false);
            m_form.messageLabel->show();
        }

    private:
        TProgressForm& m_form;
    };

    VCardContacts addressBook()
    {
        return VCardContacts([] { return VCardApplication::create(VCardApplication::folderPath()); });
    }

    // A card that another program changed meanwhile is a reason the user must read.
    template<typename Work> auto refusingChangedCards(Work&& work)
    {
        try {
            return work();
        } catch (const CardChangedError& error) {
            throw Steps::Refusal(error.message());
        }
    }

    QString unreadableText(int count)
    {
        return QCoreApplication::translate(
            "Contacts::PhoneBookSteps", "כרטיסי אנשי קשר שלא ניתן היה לקרוא ולכן לא נטענו: %1")
            .arg(count);
    }
} // namespace

TPhoneBookForm::OutlookSteps phoneBookSteps()
{
    Steps steps;
    steps.importContacts = [](PhoneBookTable& cache, QWidget* window) {
        int unreadable = 0;
        {
            TProgressForm form(window);
            GaugeProgress progress(form);
            unreadable = addressBook().ImportContacts(cache, progress);
        }
        // After the progress window has gone, over the sorted list.
        if (unreadable > 0)
            UserPrompt::current()->information(unreadableText(unreadable));
    };
    steps.createContact = [](TPhoneBookForm::Recipient& entry) {
        VCardContacts::CardRef card;
        const auto creation = addressBook().CreateContact(entry.name, entry.area, entry.phone, &card);
        if (creation != VCardContacts::Creation::Created)
            return Steps::Creation::AlreadyExists;
        entry.card = card.entryId;
        entry.cardDigest = card.digest;
        return Steps::Creation::Created;
    };
    steps.updateContact = [](TPhoneBookForm::Recipient& entry) {
        refusingChangedCards([&entry] {
            const VCardContacts::CardRef card
                = addressBook().UpdateContact(entry.name, entry.area, entry.phone, { entry.card, entry.cardDigest });
            entry.card = card.entryId;
            entry.cardDigest = card.digest;
        });
    };
    steps.deleteContact = [](const TPhoneBookForm::Recipient& entry) {
        refusingChangedCards([&entry] { addressBook().DeleteContact(entry.name, { entry.card, entry.cardDigest }); });
    };
    return steps;
}

} // namespace Contacts
