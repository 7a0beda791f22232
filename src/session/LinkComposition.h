#pragma once

#include "contacts/SmsLink.h"
#include "sending/SendWorkflow.h"

// The composition an sms: or smsto: link asks for, over what was composed: its recipients (several make a
// list, each shown by its number) and, when the link carries a text, its message. The sender stays.
SendWorkflow::Composition linkComposition(const Contacts::SmsLink& link, SendWorkflow::Composition composed);
