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
    chooseHint = named(new QLabel(tr("בחר נמען והקש \"אשר\" לחזרה אל מסך השליחה."), this), "chooseHint");
    multipleHint = named(new QLabel(tr("בחירה מרובה נעשית בעזרת מקש Ctrl + קליק שמאלי בעכבר."), this), "multipleHint");
    searchLabel = named(new QLabel(tr("חיפוש שם:"), this), "searchLabel");
    searchEdit = named(new QLineEdit(this), "searchEdit");
    searchEdit->setFixedWidth(201);
    searchLabel->setBuddy(searchEdit);

    grid = named(new QTableView(this), "grid");
    m_gridModel = new GridModel(this);
    grid->setModel(m_gridModel);
    grid->setMinimumSize(457, 225);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    grid->setWordWrap(false);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 4);

    const auto speedButton = [&](const char* name, const QString& hint, QStyle::StandardPixmap glyph) {
        auto* button = named(new QToolButton(this), name);
        button->setToolTip(hint);
        // A picture only: screen readers read the hint as its name.
        button->setAccessibleName(hint);
        button->setIcon(style()->standardIcon(glyph));
        button->setAutoRaise(true);
        return button;
    };
    newButton = speedButton("newButton", tr("איש קשר חדש"), QStyle::SP_FileIcon);
    editButton = speedButton("editButton", tr("עריכה"), QStyle::SP_FileDialogDetailedView);
    reloadButton = speedButton("reloadButton", tr("רענון רשימה"), QStyle::SP_BrowserReload);
    deleteButton = speedButton("deleteButton", tr("מחיקת איש קשר"), QStyle::SP_TrashIcon);
    addressBookBox = named(new QCheckBox(tr("אנשי קשר מפנקס הכתובות"), this), "addressBookBox");

    okButton = named(new QPushButton(tr("&אשר"), this), "okButton");
    okButton->setDefault(true);
    cancelButton = named(new QPushButton(tr("&בטל"), this), "cancelButton");
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    // Right to left: the first widget of a row stands at its right end.
    auto* search = new QHBoxLayout;
    search->addWidget(searchLabel);
    search->addWidget(searchEdit);
    search->addStretch();
    auto* tools = new QHBoxLayout;
    tools->addWidget(addressBookBox);
    tools->addStretch();
    for (QToolButton* button : { deleteButton, reloadButton, editButton, newButton })
        tools->addWidget(button);
    auto* closing = new QHBoxLayout;
    closing->addStretch();
    closing->addWidget(okButton);
    closing->addWidget(cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(chooseHint);
    layout->addWidget(multipleHint);
    layout->addLayout(search);
    layout->addWidget(grid);
    layout->addLayout(tools);
    layout->addWidget(line);
    layout->addLayout(closing);
    setFixedSize(sizeHint().expandedTo(QSize(473, 384)));

    connect(searchEdit, &QLineEdit::textChanged, this, &TPhoneBookForm::searchChanged);
    connect(grid, &QAbstractItemView::doubleClicked, this, &TPhoneBookForm::rowDoubleClicked);
    connect(newButton, &QToolButton::clicked, this, &TPhoneBookForm::newClicked);
    connect(deleteButton, &QToolButton::clicked, this, &TPhoneBookForm::deleteClicked);
    connect(reloadButton, &QToolButton::clicked, this, &TPhoneBookForm::reloadClicked);
    connect(editButton, &QToolButton::clicked, this, &TPhoneBookForm::editClicked);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    setUp();
}

TPhoneBookForm::~TPhoneBookForm() = default;

void TPhoneBookForm::setUp()
{
    // The check box starts on and every change of it loads the list, the one made here too: reading 0
    // loads the local phone book at once, reading 1 leaves the loading to the first activation.
    addressBookBox->setChecked(true);
    connect(addressBookBox, &QCheckBox::toggled, this, &TPhoneBookForm::addressBookToggled);
    addressBookBox->setChecked(SmsIni().useOutlook());
}

void TPhoneBookForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_activated)
        QMetaObject::invokeMethod(this, &TPhoneBookForm::windowActivated, Qt::QueuedConnection);
}

void TPhoneBookForm::windowActivated()
{
    if (m_activated)
        return;
    m_activated = true;
    reportingErrors([this] { loadBook(); });
}

void TPhoneBookForm::addressBookToggled()
{
    reloadButton->setEnabled(addressBookBox->isChecked());
    reportingErrors([this] { loadBook(); });
}

bool TPhoneBookForm::outlookMode() const
{
    return addressBookBox->isChecked();
}

void TPhoneBookForm::loadBook(bool reload)
{
    // Clearing the search switches the filter of the table shown until now off.
    searchEdit->clear();
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
    QHeaderView* header = grid->horizontalHeader();
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

void TPhoneBookForm::searchChanged(const QString& text)
{
    if (!m_shown)
        return;
    m_shown->setNamePrefixFilter(text);
    setCurrentRow(0);
}

int TPhoneBookForm::currentRow() const
{
    const QModelIndex current = grid->currentIndex();
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
    grid->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    grid->scrollTo(index);
}

TPhoneBookForm::Recipient TPhoneBookForm::recipientAt(int row) const
{
    return m_session.recipientAt(row);
}

int TPhoneBookForm::selectedCount() const
{
    return int(grid->selectionModel()->selectedRows().size());
}

TPhoneBookForm::Recipient TPhoneBookForm::currentRecipient() const
{
    return recipientAt(currentRow());
}

QList<TPhoneBookForm::Recipient> TPhoneBookForm::selectedRecipients() const
{
    QList<Recipient> recipients;
    for (const QModelIndex& index : grid->selectionModel()->selectedRows())
        recipients << recipientAt(index.row());
    return recipients;
}

bool TPhoneBookForm::askDetails(Recipient& entry, const QString& unknownNumber, bool nameFixed)
{
    TDetailsForm details(m_areaCodes, this);
    details.nameEdit->setText(entry.name);
    if (!unknownNumber.isEmpty())
        details.showUnknownNumber(unknownNumber);
    // In Outlook mode the name is the contact's: it is not changed here.
    details.nameEdit->setEnabled(!nameFixed);
    details.areaCodeBox->setEditText(entry.area);
    details.numberEdit->setText(entry.phone);
    if (details.exec() != QDialog::Accepted)
        return false;
    entry.name = details.nameEdit->text();
    entry.area = details.areaCodeBox->currentText();
    entry.phone = details.numberEdit->text();
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

void TPhoneBookForm::newClicked()
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

void TPhoneBookForm::editClicked()
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

void TPhoneBookForm::deleteClicked()
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

void TPhoneBookForm::reloadClicked()
{
    if (!outlookMode())
        return;
    repaint();
    reportingErrors([this] { loadBook(true); });
}

void TPhoneBookForm::rowDoubleClicked()
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
    closeWindow();
    QDialog::done(result);
}

void TPhoneBookForm::closeWindow()
{
    m_session.setOutlookMode(outlookMode());
    // The window closes all the same; the next one opens in the mode stored before.
    const QString refused = m_session.close();
    if (!refused.isEmpty())
        ErrorReport::report(refused);
}
