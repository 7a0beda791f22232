#pragma once

// What became of one message, in the words the user needs: the site said it took it, the site refused it,
// it never reached the site, the user stopped it before it left, or nobody can tell.
enum class SendOutcome
{
    None, // no attempt has ended: ready, or one under way
    Sent, // the site's page said it accepted the message
    Rejected, // the site's page said it refused the message
    Failed, // the message did not reach the site, or the site answered with an error
    Cancelled, // stopped before the message left
    // The message left for the site, and no answer of the site's says what became of it (no verdict came,
    // or the definition names no text that could confirm it): it may have been sent. Never sent again
    // without the user's word.
    Unknown,
};

// The outcome of an attempt that ended with `status` (the engine's 0 to 9), whose message submission left
// (`submitted`) or not, and whose result page said so in words (`confirmed`).
constexpr SendOutcome sendOutcome(int status, bool submitted, bool confirmed)
{
    switch (status) {
    case 6:
        return confirmed ? SendOutcome::Sent : SendOutcome::Unknown;
    case 7:
        return SendOutcome::Rejected;
    case 0:
        return submitted ? SendOutcome::Unknown : SendOutcome::Cancelled;
    case 9:
        return submitted ? SendOutcome::Unknown : SendOutcome::Failed;
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
        return SendOutcome::None;
    default:
        return SendOutcome::Failed;
    }
}
