#pragma once

#include <QByteArray>
#include <QString>

// The HTML of the sandbox's operator sites and its own pages. Every page is UTF-8 and right-to-left.
namespace SandboxPages {
QString home(const QString& baseUrl);
QString help();

QString saharFrameset();
QString partnerFrameset(quint16 port);
QString saharFooter();
QString saharLogin(bool failed, const QString& userName = QString());
QString saharMessage();
QString saharAccepted(const QString& number);
QString saharRejected(const QString& number);
QString saharExpired();
QString saharSignup();
QString saharSearch(const QString& query);

QString kesherForm();
QString kesherAccepted();
QString kesherRejected();

// Ofek's pages are made by their own scripts, as on many operators' sites: the login form is built by a
// load listener, the message page's body onload puts a hidden field before the visible ones and a later
// script fills in the site's own defaults and adds another field in front, and the result page's
// window.onload writes the verdict.
QString ofekLogin(bool failed);
QString ofekMessage();
QString ofekResult(bool accepted);

// Galim's message page carries an advertisement in a frame of another origin (localhost beside 127.0.0.1)
// that loads a new advert every few hundred milliseconds, as many operators' pages do; its result page
// answers late. The framed variant holds the message page in a frame beside an advert frame.
QString galimMessage(quint16 port);
QString galimFramed(quint16 port);
QString galimAdvert(int number);
QString galimAccepted();
QString galimRejected();

// Shefa's message page is plain; its answer to a submission is the site's error page with HTTP status 500.
QString shefaMessage();
QString shefaError();

// Magen asks two questions between its login and its message page, which only a person can answer: the word
// in a picture, then a code it says it sent to the user's phone (the sandbox shows it on the page). Both are
// asked on one page, /magen/check, whose form is the same for both.
QString magenLogin(bool failed, const QString& userName = QString());
QString magenWordQuestion(bool wrong);
QString magenCodeQuestion(bool wrong);
QString magenMessage();
QString magenResult(bool accepted);
// The SVG picture of magenWord(): large letters, each turned a little, across a few noise lines.
QByteArray magenWordPicture();

// The area codes of sahar's and kesher's choosers, in the order they are offered.
const QStringList& areaCodes();
// The area codes of ofek's chooser.
const QStringList& ofekAreaCodes();
// The area codes galim and shefa serve.
QString galimAreaCode();
QString shefaAreaCode();
QString magenAreaCode();
// The answers to magen's two questions.
QString magenWord();
QString magenCode();
// The hidden field that ofek's message page adds before its visible ones; a submission without it is refused.
QString ofekTokenField();
QString ofekTokenValue();
// What sahar's drop-down submits for a code (050 -> 50): deliberately unlike the shown text.
QString saharPrefixValue(const QString& code);
// The address of kesher's send link, which the service document names as its lookup.
QString kesherSendLink();
} // namespace SandboxPages
