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
#include <QScopeGuard>
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
// The fields the grid shows; the card fields are for the write-back only.
const QStringList GridFields { NameField, AreaField, PhoneField, UnknownField };

// A handler's error goes to the application's error report, as an error that nobody caught does.
template<typename Work> void reportingErrors(Work&& work)
{
    try {
        work();
    } catch (const std::exception& error) {
        ErrorReport::report(ErrorReport::textOf(error));
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

TPhoneBookForm::TPhoneBookForm(PhoneBookTable* phoneBook, PhoneBookTable* outlookCache, const QStringList& areaDefs,
    OutlookSteps steps, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , m_session(phoneBook, outlookCache, std::move(steps))
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
    Label3->setBuddy(Edit1);

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
        // A picture only: screen readers read the hint as its name.
        button->setAccessibleName(hint);
        button->setIcon(style()->standardIcon(glyph));
        button->setAutoRaise(true);
        return button;
    };
    SpeedButton1 = speedButton("SpeedButton1", tr("איש קשר חדש"), QStyle::SP_FileIcon);
    SpeedButton4 = speedButton("SpeedButton4", tr("עריכה"), QStyle::SP_FileDialogDetailedView);
    SpeedButton3 = speedButton("SpeedButton3", tr("רענון רשימה"), QStyle::SP_BrowserReload);
    SpeedButton2 = speedButton("SpeedButton2", tr("מחיקת איש קשר"), QStyle::SP_TrashIcon);
    CheckBox1 = named(new QCheckBox(tr("אנשי קשר מפנקס הכתובות"), this), "CheckBox1");

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

TPhoneBookForm::~TPhoneBookForm() = default;

void TPhoneBookForm::FormCreate()
{
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

void TPhoneBookForm::LoadBook(bool reload)
{
    // Clearing the search switches the filter of the table shown until now off.
    Edit1->clear();
    m_session.setOutlookMode(outlookMode());
    attach(m_session.shown());
    const auto first = qScopeGuard([this] { setCurrentRow(0); });
    if (reload)
        m_session.reload(this);
    else
        m_session.load(this);
}

void TPhoneBookForm::attach(PhoneBookTable* table)
{
    m_shown = table;
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
    return m_session.recipientAt(row);
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

bool TPhoneBookForm::askDetails(Recipient& entry, const QString& unknownNumber, bool nameFixed)
{
    TDetailsForm details(m_areaCodes, this);
    details.Edit1->setText(entry.name);
    if (!unknownNumber.isEmpty())
        details.showUnknownNumber(unknownNumber);
    // In Outlook mode the name is the contact's: it is not changed here.
    details.Edit1->setEnabled(!nameFixed);
    details.ComboBox1->setEditText(entry.area);
    details.Edit2->setText(entry.phone);
    if (details.exec() != QDialog::Accepted)
        return false;
    entry.name = details.Edit1->text();
    entry.area = details.ComboBox1->currentText();
    entry.phone = details.Edit2->text();
    return true;
}

void TPhoneBookForm::tell(const PhoneBookSession::Result& result, const QString& failedText)
{
    switch (result.outcome) {
    case PhoneBookSession::Outcome::Done:
        setCurrentRow(result.row);
        break;
    case PhoneBookSession::Outcome::AlreadyExists:
        UserPrompt::current()->information(tr(".קיים איש קשר בשם זה"));
        break;
    case PhoneBookSession::Outcome::Refused:
        ErrorReport::report(result.message);
        break;
    case PhoneBookSession::Outcome::Failed:
        if (!failedText.isEmpty())
            ErrorReport::report(failedText);
        break;
    case PhoneBookSession::Outcome::NotFound:
        break;
    }
}

void TPhoneBookForm::SpeedButton1Click()
{
    Recipient entry;
    if (!m_shown || !askDetails(entry, QString(), false))
        return;
    const PhoneBookSession::Result result = m_session.add(entry);
    if (result.outcome == PhoneBookSession::Outcome::NotFound) {
        ErrorReport::report(tr("איש קשר לא נמצא"));
        return;
    }
    tell(result, tr("שגיאה באנשי קשר מפנקס הכתובות") + QStringLiteral("\r\n") + result.message);
}

void TPhoneBookForm::SpeedButton4Click()
{
    const int row = currentRow();
    if (!m_shown || row < 0)
        return;
    Recipient entry = recipientAt(row);
    const QString unknown = outlookMode() ? m_shown->fieldText(row, UnknownField) : QString();
    if (!askDetails(entry, unknown, outlookMode()))
        return;
    const PhoneBookSession::Result result = m_session.update(row, entry);
    if (result.outcome == PhoneBookSession::Outcome::NotFound) {
        ErrorReport::report(tr("איש קשר לא נמצא"));
        return;
    }
    tell(result, QString());
}

void TPhoneBookForm::SpeedButton2Click()
{
    const int row = currentRow();
    if (!m_shown || row < 0)
        return;
    if (!UserPrompt::current()->question(tr("?מידע שנמחק לא ניתן לשחזור. האם למחוק")))
        return;
    // A contact that cannot be deleted keeps its row, without a word unless the address book refused.
    const PhoneBookSession::Result result = m_session.remove(row);
    tell(result, QString());
}

void TPhoneBookForm::SpeedButton3Click()
{
    if (!outlookMode())
        return;
    repaint();
    reportingErrors([this] { LoadBook(true); });
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
    m_session.setOutlookMode(outlookMode());
    // The window closes all the same; the next one opens in the mode stored before.
    const QString refused = m_session.close();
    if (!refused.isEmpty())
        ErrorReport::report(refused);
}
