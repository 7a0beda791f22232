#pragma once

#include <QString>
#include <QList>
#include <QPair>
#include <QStringList>
#include <QVector>
#include <functional>

// Where a provider's definition came from.
enum class ProviderOrigin : quint8
{
    Service, // a live service document
    Cache, // providers.dat
    Local // a file of the user's in providers.d
};

// One page of an operator's that the engine works through: its address, the frame that holds the form (-1:
// the page itself), the form, and how the form is submitted (the kind, the control or link looked up, and
// the value the submission gives). The login and the message page are each one.
struct PageStep
{
    QString url;
    qint32 frame = -1;
    QString form;
    quint8 submit = 0;
    QString submitLookup;
    QString submitValue;
};

// One mobile network whose web site the engine drives. Everything but the credentials comes from a PROVIDER
// tag, of the service or of a local definition file; the credentials come from SMS.INI.
struct TProvider
{
    QString Name;
    QString AreaCodes;
    QString LoginUrl;
    qint32 LoginFrame = -1;
    QString LoginForm;
    QString UserField;
    QString PassField;
    quint8 LoginSubmit = 0;
    QString LoginSubmitLookup;
    QString LoginSubmitValue;
    QString MsgUrl;
    qint32 MsgFrame = -1;
    QString MsgForm;
    QString FromField;
    QString AreaField;
    QString PhoneField;
    QString MsgField;
    quint8 MsgSubmit = 0;
    QString MsgSubmitLookup;
    QString MsgSubmitValue;
    QString ResAccepted;
    QString ResRejected;
    QString MsgLimit;
    QString UserName;
    QString Password;
    // The origin (scheme, host and port) of the login page the credentials were last used with; empty while
    // they were used nowhere. Kept with the credentials, never read from a definition.
    QString LoginOrigin;
    QString SignupURL;
    quint8 ClearCRLF = 1;
    // Optional (not every service sends it): 0 when the site's login does not last from one message to the
    // next, so that each recipient of a list logs in again; otherwise a list's later recipients go straight
    // to the message page while the site keeps them logged in.
    quint8 KeepSession = 1;

    // Set by whoever read the tag; OriginFile is the local file's path and empty otherwise.
    ProviderOrigin Origin = ProviderOrigin::Service;
    QString OriginFile;

    // The login page's and the message page's step, as the record's Login* and Msg* fields hold them.
    PageStep loginStep() const { return { LoginUrl, LoginFrame, LoginForm, LoginSubmit, LoginSubmitLookup, LoginSubmitValue }; }
    PageStep messageStep() const { return { MsgUrl, MsgFrame, MsgForm, MsgSubmit, MsgSubmitLookup, MsgSubmitValue }; }
    void setLoginStep(const PageStep& step);
    void setMessageStep(const PageStep& step);

    // A provider with a login page needs both a user name and a password before anything is sent to it.
    bool needsLogin() const { return !LoginUrl.isEmpty(); }
    bool hasCredentials() const { return !UserName.isEmpty() && !Password.isEmpty(); }
    bool lacksCredentials() const { return needsLogin() && !hasCredentials(); }

    // Builds a record from a tag's parameters; `param` returns a parameter's value by name ("" when absent).
    // The credentials stay empty.
    static TProvider fromParameters(const std::function<QString(const QString& name)>& param);
    // Every value of the record that a tag carries, by parameter name, in the tag's own order: what
    // fromParameters reads back. The credentials and the origin are not among them.
    QList<QPair<const char*, QString>> parameters() const;
};

using TProviders = QVector<TProvider>;

// The first page address the engine would open (LoginUrl, then MsgUrl) whose scheme is not http or https
// (file:, javascript:, data: and the like), by field name; empty when there is none. A definition is no way
// to make the program open a local file or run a script in its browser.
QString unsafePageAddressField(const TProvider& provider);

// The comma-text rules shared by AreaCodes and the AREAS tag: items separated by commas or by characters
// 1 to 32, an item in double quotes may hold those, and "" inside quotes stands for one quote.
QStringList parseCommaText(const QString& text);

// A decimal integer with an optional sign; anything else (blanks included) gives the default.
qint32 parseDecimalInt(const QString& text, qint32 defaultValue);

// The index of the first provider whose AreaCodes hold the code as a whole item, ignoring letter case;
// -1 when none does.
int FindProviderByArea(const TProviders& providers, const QString& areaCode);

// The value of the first code=value item whose code equals `code` ignoring letter case; "" when none.
QString areaValueFor(const QStringList& areaDefs, const QString& code);
// The code part of a code=value item; an item without "=" has an empty code.
QString areaCodeOf(const QString& areaDef);
