#include "TPhoneBookForm.h"

#include "common/ErrorReport.h"
#include "common/InterfaceDirection.h"
#include "common/UserPrompt.h"
#include "phonebook/PhoneBookTable.h"
#include "phonebook/TDetailsForm.h"
#include "service/TProvider.h"
#include "settings/SmsIni.h"

#include <QCheckBox>
#include <QColor>
#include <QComboBox>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QSqlTableModel>
#include <QStyle>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include <exception>

namespace {
const QString NameField = QStringLiteral("Name");
const QString AreaField = QStringLiteral("Area");
const QString PhoneField = QStringLiteral("Phone");
const QString UnknownField = QStringLiteral("Unknown");
const QString CardField = QStringLiteral("Card");
const QString CardDigestField = QStringLiteral("CardDigest");
// The fields the grid shows; the card fields are for the write-back only.
const QStringList GridFields { NameField, AreaField, PhoneField, UnknownField };

TPhoneBookForm::Recipient pendingEntry(const PhoneBookTable& table)
{
    return { table.pendingFieldText(NameField), table.pendingFieldText(AreaField), table.pendingFieldText(PhoneField),
        table.pendingFieldText(CardField), table.pendingFieldText(CardDigestField) };
}

TPhoneBookForm::OutlookSteps& installedOutlookSteps()
{
    static TPhoneBookForm::OutlookSteps steps;
    return steps;
}

[[noreturn]] void failConnection()
{
    throw ZelkoraError(TPhoneBookForm::connectionFailedText());
}

QString messageOf(const std::exception& error)
{
    if (const auto* own = dynamic_cast<const ZelkoraError*>(&error))
        return own->message();
    return QString::fromLocal8Bit(error.what());
}

// A handler's error goes to the application's error report, as an error that nobody caught does.
template<typename Work> void reportingErrors(Work&& work)
{
    try {
        work();
    } catch (const std::exception& error) {
        ErrorReport::report(messageOf(error));
    }
}

// The table's model as the grid shows it: the column titles, and the unknown number in red (the colour
// value 255).
class GridModel : public QIdentityProxyModel
{
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QString fieldOf(int column) const
    {
        const auto* table = qobject_cast<const QSqlQueryModel*>(sourceModel());
        return table ? table->record().fieldName(column) : QString();
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole) {
            const QString field = fieldOf(section);
            if (field == NameField)
                return TPhoneBookForm::tr("שם מלא");
            if (field == PhoneField)
                return TPhoneBookForm::tr("טלפון");
            if (field == AreaField)
                return TPhoneBookForm::tr("איזור");
            if (field == UnknownField)
                return TPhoneBookForm::tr(" מספר לא מוכר");
        }
        return QIdentityProxyModel::headerData(section, orientation, role);
    }

    // DBGrid1DrawColumnCell.
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role == Qt::ForegroundRole && fieldOf(index.column()) == UnknownField)
            return QColor(Qt::red);
        return QIdentityProxyModel::data(index, role);
    }
};

int columnWidth(const QString& field)
{
    if (field == NameField)
        return 200;
    if (field == PhoneField)
        return 63;
    if (field == AreaField)
        return 45;
    return 111; // Unknown
}
} // namespace

void TPhoneBookForm::setOutlookSteps(OutlookSteps steps)
{
    installedOutlookSteps() = std::move(steps);
}

QString TPhoneBookForm::connectionFailedText()
{
    return tr("Outlook נכשל הקישור ל ");
}

TPhoneBookForm::TPhoneBookForm(
    PhoneBookTable* phoneBook, PhoneBookTable* outlookCache, const QStringList& areaDefs, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , m_phoneBook(phoneBook)
    , m_outlookCache(outlookCache)
{
    setObjectName(QStringLiteral("PhoneBookForm"));
    setWindowTitle(tr("ספר טלפונים"));
    setLayoutDirection(interfaceDirection());
    for (const QString& item : areaDefs)
        m_areaCodes << areaCodeOf(item);

    const auto named = [](auto* widget, const char* name) {
        widget->setObjectName(QLatin1String(name));
        return widget;
    };
    Label1 = named(new QLabel(tr("בחר נמען והקש \"אשר\" לחזרה אל מסך השליחה."), this), "Label1");
    Label2 = named(new QLabel(tr("בחירה מרובה נעשית בעזרת מקש Ctrl + קליק שמאלי בעכבר."), this), "Label2");
    Label3 = named(new QLabel(tr("חיפוש שם:"), this), "Label3");
    Edit1 = named(new QLineEdit(this), "Edit1");
    Edit1->setFixedWidth(201);

    DBGrid1 = named(new QTableView(this), "DBGrid1");
    m_gridModel = new GridModel(this);
    DBGrid1->setModel(m_gridModel);
    DBGrid1->setMinimumSize(457, 225);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    DBGrid1->setWordWrap(false);
    DBGrid1->verticalHeader()->hide();
    DBGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    DBGrid1->verticalHeader()->setDefaultSectionSize(DBGrid1->fontMetrics().height() + 4);

    const auto speedButton = [&](const char* name, const QString& hint, QStyle::StandardPixmap glyph) {
        auto* button = named(new QToolButton(this), name);
        button->setToolTip(hint);
        button->setIcon(style()->standardIcon(glyph));
        button->setAutoRaise(true);
        return button;
    };
    SpeedButton1 = speedButton("SpeedButton1", tr("איש קשר חדש"), QStyle::SP_FileIcon);
    SpeedButton4 = speedButton("SpeedButton4", tr("עריכה"), QStyle::SP_FileDialogDetailedView);
    SpeedButton3 = speedButton("SpeedButton3", tr("רענון רשימה"), QStyle::SP_BrowserReload);
    SpeedButton2 = speedButton("SpeedButton2", tr("מחיקת איש קשר"), QStyle::SP_TrashIcon);
    CheckBox1 = named(new QCheckBox(tr("השתמש באנשי קשר של Outlook"), this), "CheckBox1");

    Button1 = named(new QPushButton(tr("&אשר"), this), "Button1");
    Button1->setDefault(true);
    Button2 = named(new QPushButton(tr("&בטל"), this), "Button2");
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    // Right to left: the first widget of a row stands at its right end.
    auto* search = new QHBoxLayout;
    search->addWidget(Label3);
    search->addWidget(Edit1);
    search->addStretch();
    auto* tools = new QHBoxLayout;
    tools->addWidget(CheckBox1);
    tools->addStretch();
    for (QToolButton* button : { SpeedButton2, SpeedButton3, SpeedButton4, SpeedButton1 })
        tools->addWidget(button);
    auto* closing = new QHBoxLayout;
    closing->addStretch();
    closing->addWidget(Button1);
    closing->addWidget(Button2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Label2);
    layout->addLayout(search);
    layout->addWidget(DBGrid1);
    layout->addLayout(tools);
    layout->addWidget(line);
    layout->addLayout(closing);
    setFixedSize(sizeHint().expandedTo(QSize(473, 384)));

    connect(Edit1, &QLineEdit::textChanged, this, &TPhoneBookForm::Edit1Change);
    connect(DBGrid1, &QAbstractItemView::doubleClicked, this, &TPhoneBookForm::DBGrid1DblClick);
    connect(SpeedButton1, &QToolButton::clicked, this, &TPhoneBookForm::SpeedButton1Click);
    connect(SpeedButton2, &QToolButton::clicked, this, &TPhoneBookForm::SpeedButton2Click);
    connect(SpeedButton3, &QToolButton::clicked, this, &TPhoneBookForm::SpeedButton3Click);
    connect(SpeedButton4, &QToolButton::clicked, this, &TPhoneBookForm::SpeedButton4Click);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);

    FormCreate();
}

TPhoneBookForm::~TPhoneBookForm()
{
    // The handlers belong to this window; the table stays.
    if (m_shown)
        m_shown->setEvents({});
}

void TPhoneBookForm::FormCreate()
{
    Reloading = false;
    // The check box starts on and every change of it loads the list, the one made here too: reading 0
    // loads the local phone book at once, reading 1 leaves the loading to the first activation.
    CheckBox1->setChecked(true);
    connect(CheckBox1, &QCheckBox::toggled, this, &TPhoneBookForm::CheckBox1Click);
    CheckBox1->setChecked(SmsIni().useOutlook());
}

void TPhoneBookForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_activated)
        QMetaObject::invokeMethod(this, &TPhoneBookForm::FormActivate, Qt::QueuedConnection);
}

void TPhoneBookForm::FormActivate()
{
    if (m_activated)
        return;
    m_activated = true;
    reportingErrors([this] { LoadBook(); });
}

void TPhoneBookForm::CheckBox1Click()
{
    SpeedButton3->setEnabled(CheckBox1->isChecked());
    reportingErrors([this] { LoadBook(); });
}

bool TPhoneBookForm::outlookMode() const
{
    return CheckBox1->isChecked();
}

void TPhoneBookForm::LoadBook()
{
    // Clearing the search switches the filter of the table shown until now off.
    Edit1->clear();
    if (outlookMode()) {
        attach(m_outlookCache);
        if (m_outlookCache->isEmpty()) {
            if (QFileInfo::exists(m_outlookCache->filePath()) && !Reloading)
                m_outlookCache->loadFromFile(m_outlookCache->filePath());
            else
                ImportContacts();
        }
    } else {
        attach(m_phoneBook);
        if (m_phoneBook->isEmpty()) {
            if (QFileInfo::exists(m_phoneBook->filePath()))
                m_phoneBook->loadFromFile(m_phoneBook->filePath());
            else
                m_phoneBook->clearRecords();
        }
    }
    setCurrentRow(0);
}

void TPhoneBookForm::attach(PhoneBookTable* table)
{
    if (m_shown && m_shown != table)
        m_shown->setEvents({});
    m_shown = table;
    table->setEvents({
        [this](PhoneBookTable& shown) { ClientDataSet1AfterInsert(shown); },
        [this](PhoneBookTable& shown) { return ClientDataSet1BeforePost(shown); },
        [this](PhoneBookTable& shown, int row) { return ClientDataSet1BeforeDelete(shown, row); },
    });
    table->setNamePrefixFilter(QString());
    if (m_gridModel->sourceModel() != table->model())
        m_gridModel->setSourceModel(table->model());
    setUpColumns();
}

// Name, Phone, Area and, in the Outlook cache, Unknown; the record key and the card fields stay hidden. The header
// keeps these settings while the table is selected again, but not when the grid switches to the other table.
void TPhoneBookForm::setUpColumns()
{
    const QSqlRecord columns = m_shown->model()->record();
    QHeaderView* header = DBGrid1->horizontalHeader();
    int area = -1;
    int phone = -1;
    for (int column = 0; column < columns.count(); ++column) {
        const QString field = columns.fieldName(column);
        const bool shown = GridFields.contains(field) && m_shown->fieldNames().contains(field);
        header->setSectionHidden(column, !shown);
        if (shown)
            header->resizeSection(column, columnWidth(field));
        if (field == AreaField)
            area = column;
        else if (field == PhoneField)
            phone = column;
    }
    if (area >= 0 && phone >= 0 && header->visualIndex(phone) > header->visualIndex(area))
        header->moveSection(header->visualIndex(phone), header->visualIndex(area));
}

void TPhoneBookForm::Edit1Change(const QString& text)
{
    if (!m_shown)
        return;
    m_shown->setNamePrefixFilter(text);
    setCurrentRow(0);
}

int TPhoneBookForm::currentRow() const
{
    const QModelIndex current = DBGrid1->currentIndex();
    return current.isValid() ? current.row() : -1;
}

// Moves the grid's cursor without selecting: a row is selected only by the user.
void TPhoneBookForm::setCurrentRow(int row)
{
    while (row >= m_gridModel->rowCount() && m_gridModel->canFetchMore(QModelIndex()))
        m_gridModel->fetchMore(QModelIndex());
    row = qMin(row, m_gridModel->rowCount() - 1);
    if (row < 0)
        return;
    const QModelIndex index = m_gridModel->index(row, 0);
    DBGrid1->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    DBGrid1->scrollTo(index);
}

TPhoneBookForm::Recipient TPhoneBookForm::recipientAt(int row) const
{
    if (!m_shown || row < 0)
        return {};
    return { m_shown->fieldText(row, NameField), m_shown->fieldText(row, AreaField),
        m_shown->fieldText(row, PhoneField), m_shown->fieldText(row, CardField),
        m_shown->fieldText(row, CardDigestField) };
}

int TPhoneBookForm::selectedCount() const
{
    return int(DBGrid1->selectionModel()->selectedRows().size());
}

TPhoneBookForm::Recipient TPhoneBookForm::currentRecipient() const
{
    return recipientAt(currentRow());
}

QList<TPhoneBookForm::Recipient> TPhoneBookForm::selectedRecipients() const
{
    QList<Recipient> recipients;
    for (const QModelIndex& index : DBGrid1->selectionModel()->selectedRows())
        recipients << recipientAt(index.row());
    return recipients;
}

void TPhoneBookForm::SpeedButton1Click()
{
    // The after-insert handler asks for the details and posts or cancels the record.
    if (m_shown)
        m_shown->insertRecord();
}

void TPhoneBookForm::ClientDataSet1AfterInsert(PhoneBookTable& table)
{
    if (Importing)
        return;
    TDetailsForm details(m_areaCodes, this);
    if (details.exec() != QDialog::Accepted) {
        table.cancel();
        return;
    }
    table.setFieldText(NameField, details.Edit1->text());
    table.setFieldText(AreaField, details.ComboBox1->currentText());
    table.setFieldText(PhoneField, details.Edit2->text());

    if (outlookMode()) {
        OutlookSteps::Creation creation = OutlookSteps::Creation::Created;
        try {
            if (!installedOutlookSteps().createContact)
                failConnection();
            TPhoneBookForm::Recipient entry = pendingEntry(table);
            creation = installedOutlookSteps().createContact(entry);
            table.setFieldText(CardField, entry.card);
            table.setFieldText(CardDigestField, entry.cardDigest);
        } catch (const std::exception& error) {
            table.cancel();
            ErrorReport::report(tr("Outlookשגיאת ") + QStringLiteral("\r\n") + messageOf(error));
            return;
        }
        if (creation == OutlookSteps::Creation::AlreadyExists) {
            UserPrompt::current()->information(tr(".קיים איש קשר בשם זה"));
            table.cancel();
            return;
        }
    }
    postRecord(table);
}

void TPhoneBookForm::SpeedButton4Click()
{
    if (!m_shown || !m_shown->editRecord(currentRow()))
        return;
    PhoneBookTable& table = *m_shown;
    TDetailsForm details(m_areaCodes, this);
    details.Edit1->setText(table.pendingFieldText(NameField));
    if (outlookMode()) {
        const QString unknown = table.pendingFieldText(UnknownField);
        if (!unknown.isEmpty())
            details.showUnknownNumber(unknown);
        // The name is the key that finds the Outlook contact.
        details.Edit1->setEnabled(false);
    }
    details.ComboBox1->setEditText(table.pendingFieldText(AreaField));
    details.Edit2->setText(table.pendingFieldText(PhoneField));
    if (details.exec() != QDialog::Accepted) {
        table.cancel();
        return;
    }
    table.setFieldText(NameField, details.Edit1->text());
    table.setFieldText(AreaField, details.ComboBox1->currentText());
    table.setFieldText(PhoneField, details.Edit2->text());
    postRecord(table);
}

void TPhoneBookForm::postRecord(PhoneBookTable& table)
{
    int row = -1;
    if (table.post(&row)) {
        setCurrentRow(row);
        return;
    }
    // The handler that refused has told the user why; New and Edit would be refused while it is pending.
    table.cancel();
}

bool TPhoneBookForm::ClientDataSet1BeforePost(PhoneBookTable& table)
{
    if (!outlookMode() || Importing)
        return true;
    Recipient entry = pendingEntry(table);
    try {
        if (!installedOutlookSteps().updateContact)
            failConnection();
        installedOutlookSteps().updateContact(entry);
        table.setFieldText(CardField, entry.card);
        table.setFieldText(CardDigestField, entry.cardDigest);
    } catch (const OutlookSteps::Refusal& refusal) {
        ErrorReport::report(refusal.message());
        return false;
    } catch (const std::exception&) {
        ErrorReport::report(tr("איש קשר לא נמצא"));
        return false;
    }
    // Outlook now holds the number split, so it is no longer unknown.
    if (!entry.area.isEmpty() && !entry.phone.isEmpty())
        table.setFieldText(UnknownField, QString());
    return true;
}

void TPhoneBookForm::SpeedButton2Click()
{
    const int row = currentRow();
    if (m_shown && row >= 0 && m_shown->deleteRecord(row))
        setCurrentRow(row);
}

bool TPhoneBookForm::ClientDataSet1BeforeDelete(PhoneBookTable& table, int row)
{
    if (!UserPrompt::current()->question(tr("?מידע שנמחק לא ניתן לשחזור. האם למחוק")))
        return false;
    if (outlookMode()) {
        // A contact that cannot be deleted keeps its row, without a word unless the step refused.
        try {
            if (!installedOutlookSteps().deleteContact)
                failConnection();
            installedOutlookSteps().deleteContact(
                { table.fieldText(row, NameField), table.fieldText(row, AreaField), table.fieldText(row, PhoneField),
                    table.fieldText(row, CardField), table.fieldText(row, CardDigestField) });
        } catch (const OutlookSteps::Refusal& refusal) {
            ErrorReport::report(refusal.message());
            return false;
        } catch (const std::exception&) {
            return false;
        }
    }
    return true;
}

void TPhoneBookForm::SpeedButton3Click()
{
    if (!outlookMode())
        return;
    repaint();
    Reloading = true;
    m_outlookCache->clearRecords();
    reportingErrors([this] { LoadBook(); });
    Reloading = false;
}

void TPhoneBookForm::ImportContacts()
{
    Importing = true;
    m_outlookCache->clearRecords();
    // The contacts are appended unsorted and sorted once at the end.
    m_outlookCache->setSortedByName(false);
    const auto finish = [this] {
        m_outlookCache->setSortedByName(true);
        setCurrentRow(0);
        Importing = false;
    };
    try {
        if (!installedOutlookSteps().importContacts)
            failConnection();
        installedOutlookSteps().importContacts(*m_outlookCache, this);
    } catch (...) {
        finish();
        throw;
    }
    finish();
}

void TPhoneBookForm::DBGrid1DblClick()
{
    accept();
}

void TPhoneBookForm::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)
        return;
    QDialog::keyPressEvent(event);
}

// accept(), reject() and the close box all end here.
void TPhoneBookForm::done(int result)
{
    FormClose();
    QDialog::done(result);
}

void TPhoneBookForm::FormClose()
{
    // The table first: a settings file that refuses the mode must not cost the table's edits.
    // A table that cannot be written stays in memory, without a word; its file keeps the last table saved.
    PhoneBookTable* table = outlookMode() ? m_outlookCache : m_phoneBook;
    table->saveToFile(table->filePath());
    try {
        SmsIni().setUseOutlook(CheckBox1->isChecked());
    } catch (const ZelkoraError& error) {
        // The window closes all the same; the next one opens in the mode stored before.
        ErrorReport::report(error.message());
    }
}
