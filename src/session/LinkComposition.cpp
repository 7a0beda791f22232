#include "LinkComposition.h"

#include "common/ListLine.h"

SendWorkflow::Composition linkComposition(const Contacts::SmsLink& link, SendWorkflow::Composition composed)
{
    if (link.hasBody)
        composed.message = link.body;
    composed.recipientName.clear();
    composed.listMode = link.recipients.size() > 1;
    composed.list.clear();
    if (composed.listMode) {
        for (const Contacts::MobileNumber& number : link.recipients)
            composed.list << ListLine { number.area + QLatin1Char('-') + number.phone, number.area, number.phone }.text();
    } else {
        const Contacts::MobileNumber number = link.recipients.value(0);
        composed.area = number.area;
        composed.phone = number.phone;
    }
    return composed;
}
