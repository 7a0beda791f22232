#pragma once

#include "phonebook/TPhoneBookForm.h"

namespace Contacts {

// The phone book window's Outlook steps over the address book's vCard folder, looked up again at every
// step (VCardApplication::folderPath()), so a refresh reads the folder as it is now. The import shows
// TProgressForm and, when some cards could not be read, says how many.
TPhoneBookForm::OutlookSteps phoneBookSteps();

} // namespace Contacts
