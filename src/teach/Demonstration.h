#pragma once

#include "service/TProvider.h"

#include <QCoreApplication>
#include <QHash>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

// The values the user types into the operator's message form while showing the program how to send. They
// are distinctive, so that each field can be told by what it holds when the form is submitted.
struct SampleValues
{
    QString sender;
    QString area;
    QString number; // the user's own, without the area code
    QString message;
};

// A demonstration of sending on an operator's site, as the recorder script in the shown pages reports it,
// turned into what the engine needs: the login page and form, the message page and form, the fields, the
// controls that submitted them and the result texts. The pages' loads are followed under the engine's own
// rule (the first window that navigates after a submission, and the address its document completes at),
// and whatever the engine could not do again is explained in plain words instead.
class Demonstration
{
    Q_DECLARE_TR_FUNCTIONS(Demonstration)
public:
    enum class Stage
    {
        Login,
        Message,
        Result
    };

    explicit Demonstration(SampleValues samples = {});
    // The samples the window shows; they may change until the message form is submitted.
    void setSamples(const SampleValues& samples) { m_samples = samples; }
    const SampleValues& samples() const { return m_samples; }

    // One message of the recorder script (its JSON text).
    void recorderMessage(const QString& json);
    void recorderMessage(const QJsonObject& message);
    // The site needs no login: the next page is the message page.
    void skipLogin();
    // The user opened a page by its address: a page reached that way after the login is not one the site
    // leads to by itself.
    void addressTyped();
    // The text marked last on the result page is the one that says the message went out.
    bool markAccepted();
    void setRejectedText(const QString& text) { m_provider.ResRejected = text.trimmed(); }
    void setClearLineBreaks(bool clear) { m_provider.ClearCRLF = clear ? 1 : 0; }

    Stage stage() const { return m_stage; }
    bool loginSkipped() const { return m_loginSkipped; }
    bool loginRecorded() const { return m_loginRecorded; }
    bool messageRecorded() const { return m_messageRecorded; }
    // The user answered pages of the site's by hand between the login and the message page (a question, a
    // code): they are not part of the definition; at each send the program shows them to the user.
    bool passedByHand() const { return m_passedByHand; }
    bool resultLoaded() const { return !m_resultUrl.isEmpty(); }
    bool complete() const;
    // The text marked last on any page, for the window to show.
    QString selection() const { return m_selection.text; }

    // What stands in the way of a definition that works, in plain words; empty when nothing does.
    QStringList problems() const;

    // The definition so far. Name, AreaCodes and the credentials are not part of the demonstration.
    TProvider provider(const QString& name, const QStringList& areaCodes) const;
    // code=value items for AreaDefs: what the site's area list shows for each code, or what goes in front
    // of the number when the site has no area field.
    QStringList areaDefs(const QStringList& areaCodes) const;
    QString userName() const { return m_userName; }
    QString password() const { return m_password; }

private:
    struct Field
    {
        QString name;
        QString tag;
        QString type;
        QString value;
        QStringList options;
        QString selected;
    };
    struct FormRef
    {
        QString name;
        int index = -1;
        bool valid() const { return index >= 0; }
        QString designator() const { return name.isEmpty() ? QString::number(index) : name; }
        bool operator==(const FormRef& other) const { return name == other.name && index == other.index; }
    };
    // One document in one window: the frame path and the moment it was made tell it apart from every other.
    struct Place
    {
        QList<int> frame;
        double created = 0;
        QString url;
        QString page;
        bool sameOrigin = true;
        bool operator==(const Place& other) const { return frame == other.frame && created == other.created; }
    };
    // The window a submission sends its page to: a frame path from the top-level window, or a new window.
    struct Target
    {
        QList<int> window;
        bool newWindow = false;
    };
    struct Click
    {
        Place place;
        QString link;
        Field control;
        FormRef form;
        Target target;
        bool valid = false;
    };
    struct Submission
    {
        Place place;
        Target target;
        FormRef form;
        QList<Field> fields;
        quint8 kind = 0;
        QString lookup;
        QString value;
    };
    struct Selection
    {
        Place place;
        QString text;
        bool inBody = false;
    };

    static Place placeOf(const QJsonObject& message);
    static FormRef formOf(const QJsonValue& value);
    static Target targetOf(const QJsonValue& value);
    static Field fieldOf(const QJsonValue& value);
    static QList<Field> fieldsOf(const QJsonValue& value);

    void documentLoaded(const Place& place);
    void submitted(const Submission& submission);
    void recordLogin(const Submission& submission);
    void recordMessage(const Submission& submission);
    // The step after a submission waits for the window it goes to; a new window is a problem of the step's.
    void follow(const Submission& submission, QStringList& problems);
    // The typed fields of one form of one document, by name, with the value typed last.
    QHash<QString, QString> typedInto(const Place& place, const FormRef& form) const;
    bool holdsSample(const QList<Field>& fields) const;
    QString placeProblem(const Place& place, const QString& what) const;
    static int frameIndex(const Place& place);
    // The page step a submission made, at `url`.
    static PageStep stepOf(const Submission& submission, const QString& url);

    SampleValues m_samples;
    Stage m_stage = Stage::Login;
    TProvider m_provider;

    // The top-level address of each page seen, by the page's id.
    QHash<QString, QString> m_topAddress;
    struct Typed
    {
        Place place;
        FormRef form;
        Field field;
    };
    QList<Typed> m_typed;
    Click m_lastClick;
    bool m_submitSeen = false;

    // After a submission: the window it sends its page to, and the document that window completes.
    enum class Waiting
    {
        Nothing,
        AfterLogin,
        AfterMessage
    };
    Waiting m_waiting = Waiting::Nothing;
    QList<int> m_navFrame;
    bool m_navFrameKnown = false;

    bool m_loginSkipped = false;
    bool m_loginRecorded = false;
    Place m_loginPlace;
    Place m_afterLogin;
    bool m_afterLoginKnown = false;
    bool m_addressTyped = false;
    bool m_passedByHand = false;
    QString m_userName;
    QString m_password;

    bool m_messageRecorded = false;
    QString m_areaValue; // what the area field held, or what stood in front of the number
    QStringList m_areaOptions;
    QString m_resultUrl;
    QList<int> m_resultFrame;
    Selection m_selection;

    QStringList m_loginProblems;
    QStringList m_messageProblems;
    QStringList m_resultProblems;
};
