#include "Demonstration.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>

namespace {
QString plain(const QString& value)
{
    return value.trimmed();
}

bool isPassword(const QString& type)
{
    return type == QLatin1String("password");
}

// Whether a field is one a person types into (not a button, a box to tick or a hidden value).
bool isTextEntry(const QString& tag, const QString& type)
{
    if (tag == QLatin1String("TEXTAREA"))
        return true;
    if (tag != QLatin1String("INPUT"))
        return false;
    static const QStringList entries { QString(), QStringLiteral("text"), QStringLiteral("email"),
        QStringLiteral("tel"), QStringLiteral("number"), QStringLiteral("search") };
    return entries.contains(type);
}
} // namespace

Demonstration::Demonstration(SampleValues samples)
    : m_samples(std::move(samples))
{
    m_provider.ClearCRLF = 1;
}

void Demonstration::recorderMessage(const QString& json)
{
    recorderMessage(QJsonDocument::fromJson(json.toUtf8()).object());
}

Demonstration::Place Demonstration::placeOf(const QJsonObject& message)
{
    Place place;
    for (const auto& step : message.value(QLatin1String("frame")).toArray())
        place.frame << step.toInt();
    place.created = message.value(QLatin1String("created")).toDouble();
    place.url = message.value(QLatin1String("url")).toString();
    place.page = message.value(QLatin1String("page")).toString();
    place.sameOrigin = message.value(QLatin1String("sameOrigin")).toBool(true);
    return place;
}

Demonstration::FormRef Demonstration::formOf(const QJsonValue& value)
{
    FormRef form;
    if (!value.isObject())
        return form;
    form.name = value[QLatin1String("name")].toString();
    form.index = value[QLatin1String("index")].toInt(-1);
    return form;
}

Demonstration::Target Demonstration::targetOf(const QJsonValue& value)
{
    Target target;
    target.newWindow = value[QLatin1String("newWindow")].toBool();
    for (const auto& step : value[QLatin1String("path")].toArray())
        target.window << step.toInt();
    return target;
}

Demonstration::Field Demonstration::fieldOf(const QJsonValue& value)
{
    Field field;
    field.name = value[QLatin1String("name")].toString();
    field.tag = value[QLatin1String("tag")].toString();
    field.type = value[QLatin1String("type")].toString();
    field.value = value[QLatin1String("value")].toString();
    field.selected = value[QLatin1String("selected")].toString();
    for (const auto& option : value[QLatin1String("options")].toArray())
        field.options << option.toString();
    return field;
}

QList<Demonstration::Field> Demonstration::fieldsOf(const QJsonValue& value)
{
    QList<Field> fields;
    for (const auto& field : value.toArray())
        fields << fieldOf(field);
    return fields;
}

void Demonstration::recorderMessage(const QJsonObject& message)
{
    const QString kind = message.value(QLatin1String("kind")).toString();
    const Place place = placeOf(message);

    if (kind == QLatin1String("document")) {
        if (place.frame.isEmpty() && !place.page.isEmpty())
            m_topAddress.insert(place.page, place.url);
        documentLoaded(place);
    } else if (kind == QLatin1String("input")) {
        m_typed.append(Typed {
            place, formOf(message.value(QLatin1String("form"))), fieldOf(message.value(QLatin1String("field"))) });
    } else if (kind == QLatin1String("click")) {
        m_lastClick = Click {};
        m_lastClick.place = place;
        m_lastClick.link = message.value(QLatin1String("link")).toString();
        m_lastClick.control = fieldOf(message.value(QLatin1String("control")));
        m_lastClick.form = formOf(message.value(QLatin1String("form")));
        m_lastClick.target = targetOf(message.value(QLatin1String("target")));
        m_lastClick.valid = true;
        m_submitSeen = false;
    } else if (kind == QLatin1String("submit")) {
        Submission submission;
        submission.place = place;
        submission.form = formOf(message.value(QLatin1String("form")));
        submission.fields = fieldsOf(message.value(QLatin1String("fields")));
        submission.target = targetOf(message.value(QLatin1String("target")));
        const QJsonValue submitter = message.value(QLatin1String("submitter"));
        const QString name = submitter.isObject() ? submitter[QLatin1String("name")].toString() : QString();
        submission.kind = 3;
        if (message.value(QLatin1String("trusted")).toBool() && !name.isEmpty()) {
            // A control named SUBMIT is given its value and clicked; any other named control is clicked.
            if (name.toUpper() == QLatin1String("SUBMIT")) {
                submission.value = submitter[QLatin1String("value")].toString();
            } else {
                submission.kind = 2;
                submission.lookup = name;
            }
        }
        m_submitSeen = true;
        submitted(submission);
    } else if (kind == QLatin1String("leave")) {
        // A page left after a click with no submit event: a link, or a script that submitted a form.
        if (!m_submitSeen && m_lastClick.valid && m_lastClick.place == place) {
            QList<QPair<FormRef, QList<Field>>> forms;
            for (const auto& form : message.value(QLatin1String("forms")).toArray())
                forms.append({ formOf(form[QLatin1String("form")]), fieldsOf(form[QLatin1String("fields")]) });
            Submission submission;
            submission.place = place;
            submission.target = m_lastClick.target;
            if (!m_lastClick.link.isEmpty()) {
                submission.kind = 1;
                submission.lookup = m_lastClick.link;
                // The form is the one the user typed into; a link clicked without typing is just a way on.
                for (const auto& form : std::as_const(forms)) {
                    if (!typedInto(place, form.first).isEmpty()) {
                        submission.form = form.first;
                        submission.fields = form.second;
                        break;
                    }
                }
            } else if (m_lastClick.form.valid()) {
                submission.kind = 3;
                submission.form = m_lastClick.form;
                for (const auto& form : std::as_const(forms)) {
                    if (form.first == m_lastClick.form)
                        submission.fields = form.second;
                }
            }
            if (submission.form.valid())
                submitted(submission);
        }
        m_lastClick.valid = false;
        m_submitSeen = false;
    } else if (kind == QLatin1String("selection")) {
        m_selection = Selection { place, message.value(QLatin1String("text")).toString(),
            message.value(QLatin1String("inBody")).toBool() };
    }
}

void Demonstration::documentLoaded(const Place& place)
{
    if (m_waiting == Waiting::Nothing || !m_navFrameKnown || place.frame != m_navFrame)
        return;
    if (m_waiting == Waiting::AfterLogin) {
        m_afterLogin = place;
        m_afterLoginKnown = true;
    } else {
        m_resultUrl = place.url;
        m_resultFrame = place.frame;
    }
    m_waiting = Waiting::Nothing;
}

QHash<QString, QString> Demonstration::typedInto(const Place& place, const FormRef& form) const
{
    QHash<QString, QString> typed;
    for (const Typed& entry : m_typed) {
        if (entry.place == place && entry.form == form)
            typed.insert(entry.field.name,
                entry.field.tag == QLatin1String("SELECT") ? entry.field.selected : entry.field.value);
    }
    return typed;
}

bool Demonstration::holdsSample(const QList<Field>& fields) const
{
    for (const Field& field : fields) {
        if (plain(field.value) == plain(m_samples.message)
            || (!m_samples.sender.isEmpty() && plain(field.value) == plain(m_samples.sender)))
            return true;
    }
    return false;
}

void Demonstration::submitted(const Submission& submission)
{
    bool password = false;
    for (const Field& field : submission.fields)
        password = password || isPassword(field.type);
    if (holdsSample(submission.fields))
        recordMessage(submission);
    else if (password)
        recordLogin(submission);
    // Anything else (a search, a language choice) is the user finding the way.
}

PageStep Demonstration::stepOf(const Submission& submission, const QString& url)
{
    return { url, frameIndex(submission.place), submission.form.designator(), submission.kind, submission.lookup,
        submission.value };
}

int Demonstration::frameIndex(const Place& place)
{
    return place.frame.isEmpty() ? -1 : place.frame.first();
}

QString Demonstration::placeProblem(const Place& place, const QString& what) const
{
    if (!place.sameOrigin)
        return tr("%1 נמצא במסגרת של אתר אחר (%2), והתוכנה אינה יכולה להגיע אליו.").arg(what, place.url);
    if (place.frame.size() > 1)
        return tr("%1 נמצא במסגרת שבתוך מסגרת אחרת; התוכנה מגיעה רק למסגרות של הדף עצמו.").arg(what);
    return QString();
}

void Demonstration::recordLogin(const Submission& submission)
{
    m_loginProblems.clear();
    m_messageProblems.clear();
    m_resultProblems.clear();
    m_messageRecorded = false;
    m_resultUrl.clear();
    m_loginSkipped = false;
    m_addressTyped = false;
    m_passedByHand = false;

    const QString where = placeProblem(submission.place, tr("טופס הכניסה"));
    if (!where.isEmpty())
        m_loginProblems << where;

    m_provider.setLoginStep(stepOf(submission, m_topAddress.value(submission.place.page, submission.place.url)));

    // The password field is the one typed into; the user field the text field typed into last before it.
    const QHash<QString, QString> typed = typedInto(submission.place, submission.form);
    const Field* user = nullptr;
    const Field* password = nullptr;
    for (const Field& field : submission.fields) {
        if (isPassword(field.type) && !password && !field.value.isEmpty())
            password = &field;
        else if (!password && isTextEntry(field.tag, field.type) && typed.contains(field.name)
            && !field.value.isEmpty())
            user = &field;
    }
    if (!user) {
        for (const Field& field : submission.fields) {
            if (!user && isTextEntry(field.tag, field.type) && typed.contains(field.name) && !field.value.isEmpty())
                user = &field;
        }
    }
    if (!user)
        m_loginProblems << tr("לא נראתה הקלדה של שם משתמש בטופס הכניסה.");
    if (!password)
        m_loginProblems << tr("לא נראתה הקלדה של סיסמה בטופס הכניסה.");
    for (const Field* field : { user, password }) {
        if (field && field->name.isEmpty())
            m_loginProblems << tr("לשדה בטופס הכניסה שבו הקלדת אין שם, והתוכנה מוצאת שדות לפי שמם.");
    }
    m_provider.UserField = user ? user->name : QString();
    m_provider.PassField = password ? password->name : QString();
    m_userName = user ? user->value : QString();
    m_password = password ? password->value : QString();

    m_loginRecorded = true;
    m_loginPlace = submission.place;
    m_afterLoginKnown = false;
    m_stage = Stage::Message;
    m_waiting = Waiting::AfterLogin;
    follow(submission, m_loginProblems);
}

void Demonstration::follow(const Submission& submission, QStringList& problems)
{
    // As a send does: only the window the form or link sends its page to counts, whatever else loads.
    m_navFrame = submission.target.window;
    m_navFrameKnown = !submission.target.newWindow;
    if (submission.target.newWindow)
        problems << tr("הטופס פותח את התשובה בחלון חדש, והתוכנה אינה יכולה להמשיך אחריו.");
}

void Demonstration::addressTyped()
{
    if (m_loginRecorded)
        m_addressTyped = true;
}

void Demonstration::skipLogin()
{
    m_loginSkipped = true;
    m_loginRecorded = false;
    m_loginProblems.clear();
    m_provider.setLoginStep({});
    m_provider.UserField.clear();
    m_provider.PassField.clear();
    m_userName.clear();
    m_password.clear();
    if (m_stage == Stage::Login)
        m_stage = Stage::Message;
}

void Demonstration::recordMessage(const Submission& submission)
{
    if (!m_loginRecorded)
        skipLogin();
    m_messageProblems.clear();
    m_resultProblems.clear();

    const QString where = placeProblem(submission.place, tr("טופס ההודעה"));
    if (!where.isEmpty())
        m_messageProblems << where;

    m_passedByHand = false;
    QString url;
    if (m_loginRecorded) {
        // A send goes on from the page that the login leads to, and from no other.
        if (submission.place == m_loginPlace) {
            m_messageProblems << tr("טופס ההודעה הופיע בלי שדף חדש נטען אחרי הכניסה (האתר החליף את תוכן "
                                    "הדף בסקריפט); התוכנה ממשיכה רק מדף שנטען.");
        }
        // The message page's address as the window the login went to shows it: the top page's, or the frame's.
        const QString messageUrl = m_afterLoginKnown && m_afterLogin.frame.isEmpty()
            ? m_topAddress.value(submission.place.page, submission.place.url)
            : submission.place.url;
        // The same page loaded again (reloaded, say) is still the page the login leads to.
        const bool elsewhere = m_afterLoginKnown && messageUrl != m_afterLogin.url;
        if (elsewhere && m_addressTyped) {
            m_messageProblems << tr("אחרי הכניסה האתר פתח את %1, אבל טופס ההודעה שמילאת היה בדף %2 שהגעת אליו "
                                    "משם. התוכנה יכולה למלא רק את הדף שהכניסה מובילה אליו.")
                                     .arg(m_afterLogin.url, submission.place.url);
            url = m_afterLogin.url;
        } else {
            // Pages the user answered on the site's own way from the login to here (a word in a picture, a
            // code) are not recorded: at each send the program shows them to the user to answer again.
            m_passedByHand = elsewhere;
            url = messageUrl;
        }
    } else {
        url = m_topAddress.value(submission.place.page, submission.place.url);
    }
    m_provider.setMessageStep(stepOf(submission, url));

    const QHash<QString, QString> typed = typedInto(submission.place, submission.form);
    auto find = [&](auto matches) -> const Field* {
        for (const Field& field : submission.fields) {
            if (matches(field))
                return &field;
        }
        return nullptr;
    };
    auto holds = [&](const QString& sample) {
        return [sample](const Field& field) { return !sample.isEmpty() && plain(field.value) == plain(sample); };
    };
    // A field the user did not type into holds the sample only because a script of the site's put it there.
    auto use = [&](const Field* field, const QString& what) {
        if (!field)
            return QString();
        if (field->name.isEmpty())
            m_messageProblems << tr("לשדה שבו הקלדת את %1 אין שם, והתוכנה מוצאת שדות לפי שמם.").arg(what);
        else if (!typed.contains(field->name))
            m_messageProblems << tr("%1 הגיע לאתר דרך שדה שסקריפט של האתר מילא (%2); התוכנה אינה מריצה "
                                    "סקריפטים כאלה.")
                                     .arg(what, field->name);
        return field->name;
    };
    // A sample typed into a field that holds something else by the time the form goes.
    auto changedByScript = [&](const QString& sample) {
        for (auto it = typed.begin(); it != typed.end(); ++it) {
            if (plain(it.value()) != plain(sample))
                continue;
            for (const Field& field : submission.fields) {
                if (field.name == it.key() && plain(field.value) != plain(sample))
                    return field.name;
            }
        }
        return QString();
    };

    const QString messageLabel = tr("ההודעה לדוגמה");
    const Field* message = find(holds(m_samples.message));
    m_provider.MsgField = use(message, messageLabel);
    if (!message) {
        const QString changed = changedByScript(m_samples.message);
        m_messageProblems << (changed.isEmpty()
                ? tr("ההודעה לדוגמה (%1) לא נמצאה בטופס שנשלח.").arg(m_samples.message)
                : tr("האתר שינה את מה שהקלדת בשדה %1 לפני השליחה; הוא זקוק לסקריפט שהתוכנה "
                     "אינה מריצה.")
                      .arg(changed));
    }
    m_provider.FromField = use(find(holds(m_samples.sender)), tr("שם השולח"));

    // The area code: a list showing it, or a field holding it; failing both, in front of the number.
    const Field* area = find([&](const Field& field) {
        if (field.tag == QLatin1String("SELECT"))
            return plain(field.selected) == m_samples.area
                || plain(field.selected).split(QLatin1Char(' '), Qt::SkipEmptyParts).contains(m_samples.area);
        return plain(field.value) == m_samples.area;
    });
    const Field* phone = find(holds(m_samples.number));
    m_areaOptions.clear();
    if (area) {
        m_provider.AreaField = use(area, tr("הקידומת"));
        m_areaValue = area->tag == QLatin1String("SELECT") ? area->selected : area->value;
        m_areaOptions = area->options;
    } else {
        m_provider.AreaField.clear();
        m_areaValue.clear();
        if (!phone) {
            phone = find([&](const Field& field) {
                const QString value = plain(field.value);
                return value.size() > m_samples.number.size() && value.endsWith(m_samples.number);
            });
            if (phone) {
                m_areaValue = plain(phone->value);
                m_areaValue.chop(m_samples.number.size());
            }
        }
    }
    m_provider.PhoneField = use(phone, tr("המספר"));
    if (!phone)
        m_messageProblems << tr("המספר לדוגמה (%1) לא נמצא בטופס שנשלח.").arg(m_samples.number);

    m_messageRecorded = true;
    m_stage = Stage::Result;
    m_waiting = Waiting::AfterMessage;
    follow(submission, m_messageProblems);
    m_resultUrl.clear();
    m_provider.ResAccepted.clear();
}

bool Demonstration::markAccepted()
{
    if (m_stage != Stage::Result || !resultLoaded() || m_selection.text.isEmpty())
        return false;
    m_resultProblems.clear();
    // A send reads the result in the own text of the window the message form went to.
    if (m_selection.place.frame != m_resultFrame || !m_selection.inBody)
        m_resultProblems << tr("הטקסט שסימנת אינו בדף שבו הופיעה התוצאה; התוכנה מחפשת את התוצאה רק בטקסט של "
                               "החלון שאליו נשלח הטופס.");
    // A definition cannot hold quotes or apostrophes: the longest stretch of the text without them stands in.
    QString longest;
    for (const QString& part : m_selection.text.split(QRegularExpression(QStringLiteral("[\"']")))) {
        if (part.trimmed().size() > longest.size())
            longest = part.trimmed();
    }
    m_provider.ResAccepted = longest;
    return !longest.isEmpty();
}

bool Demonstration::complete() const
{
    return m_messageRecorded && resultLoaded() && !m_provider.ResAccepted.isEmpty() && problems().isEmpty();
}

QStringList Demonstration::problems() const
{
    return m_loginProblems + m_messageProblems + m_resultProblems;
}

TProvider Demonstration::provider(const QString& name, const QStringList& areaCodes) const
{
    TProvider p = m_provider;
    p.Name = name;
    p.AreaCodes = areaCodes.join(QLatin1Char(','));
    return p;
}

QStringList Demonstration::areaDefs(const QStringList& areaCodes) const
{
    QStringList defs;
    for (const QString& code : areaCodes) {
        QString value = code;
        if (!m_provider.AreaField.isEmpty() && !m_areaOptions.isEmpty()) {
            // What the site's list shows for the code: the option that reads as the code, or one that holds it.
            QString holding;
            for (const QString& option : m_areaOptions) {
                if (plain(option) == code) {
                    holding.clear();
                    value = plain(option);
                    break;
                }
                if (holding.isEmpty() && plain(option).split(QLatin1Char(' '), Qt::SkipEmptyParts).contains(code))
                    holding = plain(option);
            }
            if (!holding.isEmpty())
                value = holding;
        } else if (!m_areaValue.isEmpty() && m_samples.area.endsWith(m_areaValue)) {
            // In front of the number the site wanted the code shortened the same way ("52" for "052").
            value = code.right(code.size() - (m_samples.area.size() - m_areaValue.size()));
        } else if (!m_areaValue.isEmpty() && code == m_samples.area) {
            value = m_areaValue;
        }
        defs << code + QLatin1Char('=') + value;
    }
    return defs;
}
