#include "THistoryForm.h"

#include "common/AtomicFile.h"
#include "common/InterfaceDirection.h"
#include "common/UserPrompt.h"
#include "history/QueueDialogs.h"
#include "widgets/SkinColors.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace {
constexpr int kSearchPauseMs = 150;

enum Column
{
    TimeColumn,
    RecipientColumn,
    NumberColumn,
    ProviderColumn,
    MessageColumn,
    StatusColumn,
    ConfirmedColumn,
    ColumnCount
};

QString numberOf(const HistoryEntry& entry)
{
    return entry.area.isEmpty() ? entry.phone : entry.area + QLatin1Char('-') + entry.phone;
}

QString recipientOf(const HistoryEntry& entry)
{
    return entry.name.isEmpty() ? numberOf(entry) : entry.name;
}

QString statusTextOf(const HistoryEntry& entry)
{
    return entry.scheduled ? THistoryForm::tr("מתוזמן ל-%1").arg(QueueDialogs::shownTime(entry.due))
                           : entry.shownStatusText();
}

// The query's rows as the grid shows them. The rows are read from the query model only as the grid asks for
// them; a row is turned into an entry once for all the cells and roles of it that the grid paints in turn.
class HistoryGridModel : public QIdentityProxyModel
{
public:
    HistoryGridModel(QSqlQueryModel* rows, QObject* parent)
        : QIdentityProxyModel(parent)
        , m_rows(rows)
    {
        setSourceModel(rows);
        connect(rows, &QAbstractItemModel::modelAboutToBeReset, this, [this] { m_cachedRow = -1; });
    }

    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : ColumnCount; }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return QIdentityProxyModel::headerData(section, orientation, role);
        switch (section) {
        case TimeColumn:
            return THistoryForm::tr("זמן");
        case RecipientColumn:
            return THistoryForm::tr("נמען");
        case NumberColumn:
            return THistoryForm::tr("מספר");
        case ProviderColumn:
            return THistoryForm::tr("ספק");
        case MessageColumn:
            return THistoryForm::tr("הודעה");
        case StatusColumn:
            return THistoryForm::tr("מצב");
        case ConfirmedColumn:
            return THistoryForm::tr("אושר");
        }
        return QVariant();
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid())
            return QVariant();
        switch (role) {
        case Qt::DisplayRole:
            return shown(entryAt(index.row()), index.column());
        case Qt::ToolTipRole:
            return index.column() == MessageColumn ? QVariant(entryAt(index.row()).message) : QVariant();
        case Qt::ForegroundRole: {
            switch (entryAt(index.row()).outcome()) {
            case SendOutcome::None:
            case SendOutcome::Sent:
                return QVariant();
            case SendOutcome::Unknown:
                // On the table's light background: a darker shade of the status line's orange.
                return QVariant(QColor(0xB3, 0x5C, 0x00));
            default:
                return QVariant(errorColour());
            }
        }
        }
        return QVariant();
    }

    const HistoryEntry& entryAt(int row) const
    {
        if (row != m_cachedRow) {
            m_cached = HistoryStore::entryOf(m_rows->record(row));
            m_cachedRow = row;
        }
        return m_cached;
    }

private:
    static QColor errorColour() { return SkinColors::toColor(SkinColors::StatusColorError); }

    static QVariant shown(const HistoryEntry& entry, int column)
    {
        switch (column) {
        case TimeColumn:
            return QueueDialogs::shownTime(entry.time);
        case RecipientColumn:
            return recipientOf(entry);
        case NumberColumn:
            return numberOf(entry);
        case ProviderColumn:
            return entry.provider;
        case MessageColumn:
            return entry.message.simplified();
        case StatusColumn:
            return statusTextOf(entry);
        case ConfirmedColumn:
            return entry.confirmed ? QStringLiteral("✓") : QString();
        }
        return QVariant();
    }

    QSqlQueryModel* m_rows;
    mutable int m_cachedRow = -1;
    mutable HistoryEntry m_cached;
};

QString csvField(QString value)
{
    // A field a spreadsheet would run as a formula is written as text.
    static const QString formulaStarts = QStringLiteral("=+-@\t\r");
    if (!value.isEmpty() && formulaStarts.contains(value.front()))
        value.prepend(QLatin1Char('\''));
    if (value.contains(QLatin1Char(',')) || value.contains(QLatin1Char('"')) || value.contains(QLatin1Char('\n'))
        || value.contains(QLatin1Char('\r'))) {
        value.replace(QLatin1Char('"'), QStringLiteral("\"\""));
        return QLatin1Char('"') + value + QLatin1Char('"');
    }
    return value;
}
} // namespace

struct THistoryForm::Ui
{
    QLineEdit* SearchEdit;
    QCheckBox* NotSentOnly;
    QTableView* Grid;
    QPushButton* SendAgainButton;
    QPushButton* SendNotSentButton;
    QPushButton* RescheduleButton;
    QPushButton* DropButton;
    QPushButton* ExportButton;
};

THistoryForm::THistoryForm(HistoryStore& store, QWidget* owner)
    : QWidget(owner, Qt::Window)
    , m_store(store)
    , m_connection(QStringLiteral("history-view-%1").arg(quintptr(this), 0, 16))
    , m_ui(std::make_unique<Ui>())
{
    setObjectName(QStringLiteral("HistoryForm"));
    setAttribute(Qt::WA_DeleteOnClose);
    // The program lives on in the tray when this is its last window.
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(tr("היסטוריית שליחה"));
    setLayoutDirection(interfaceDirection());
    // Within the screen it opens on (down to 910 x 512 window pixels, a 1366 x 768 screen at 150%), less its
    // frame and title bar.
    QSize size(900, 480);
    if (const QScreen* screen = this->screen())
        size = size.boundedTo(screen->availableGeometry().size() - QSize(16, 48));
    resize(size);

    QSqlDatabase::cloneDatabase(store.connectionName(), m_connection).open();

    const auto named = [](auto* widget, const char* name) {
        widget->setObjectName(QLatin1String(name));
        return widget;
    };
    Ui& ui = *m_ui;
    ui.SearchEdit = named(new QLineEdit(this), "SearchEdit");
    ui.SearchEdit->setPlaceholderText(tr("חיפוש לפי שם, מספר או טקסט"));
    ui.SearchEdit->setClearButtonEnabled(true);
    // A field without a label: screen readers read what it searches by.
    ui.SearchEdit->setAccessibleName(ui.SearchEdit->placeholderText());
    ui.NotSentOnly = named(new QCheckBox(tr("רק מה שלא נשלח"), this), "NotSentOnly");
    ui.Grid = named(new QTableView(this), "Grid");
    ui.SendAgainButton = named(new QPushButton(tr("שלח שוב"), this), "SendAgainButton");
    ui.SendNotSentButton = named(new QPushButton(tr("שלח שוב למי שלא קיבל"), this), "SendNotSentButton");
    ui.RescheduleButton = named(new QPushButton(tr("שנה מועד..."), this), "RescheduleButton");
    ui.DropButton = named(new QPushButton(tr("בטל שליחה"), this), "DropButton");
    ui.ExportButton = named(new QPushButton(tr("ייצוא ל-CSV..."), this), "ExportButton");

    m_model = new QSqlQueryModel(this);
    ui.Grid->setModel(new HistoryGridModel(m_model, this));
    ui.Grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    ui.Grid->setSelectionMode(QAbstractItemView::SingleSelection);
    ui.Grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ui.Grid->setWordWrap(false);
    ui.Grid->setAlternatingRowColors(true);
    // Fixed sizes: a size taken from the contents would read every row of the history.
    ui.Grid->verticalHeader()->hide();
    ui.Grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    QHeaderView* header = ui.Grid->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Interactive);
    const int widths[ColumnCount] = { 115, 140, 105, 90, 0, 170, 50 };
    // Never narrower than the column's own title, in whatever language it is ("Confirmed" is wider than
    // "אושר").
    for (int column = 0; column < ColumnCount; ++column) {
        if (widths[column])
            header->resizeSection(column, qMax(widths[column], header->sectionSizeHint(column)));
    }
    header->setSectionResizeMode(MessageColumn, QHeaderView::Stretch);

    auto* filters = new QHBoxLayout;
    filters->addWidget(ui.SearchEdit, 1);
    filters->addWidget(ui.NotSentOnly);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button :
        { ui.SendAgainButton, ui.SendNotSentButton, ui.RescheduleButton, ui.DropButton, ui.ExportButton }) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    buttons->insertStretch(4);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(ui.Grid, 1);
    layout->addLayout(buttons);

    m_searchPause = new QTimer(this);
    m_searchPause->setSingleShot(true);
    m_searchPause->setInterval(kSearchPauseMs);
    connect(m_searchPause, &QTimer::timeout, this, &THistoryForm::refresh);
    connect(ui.SearchEdit, &QLineEdit::textChanged, m_searchPause, qOverload<>(&QTimer::start));
    connect(ui.SearchEdit, &QLineEdit::returnPressed, this, &THistoryForm::refresh);
    connect(ui.NotSentOnly, &QCheckBox::toggled, this, &THistoryForm::refresh);
    connect(ui.Grid->selectionModel(), &QItemSelectionModel::selectionChanged, this, &THistoryForm::updateButtons);
    connect(ui.SendAgainButton, &QPushButton::clicked, this, &THistoryForm::SendAgainButtonClick);
    connect(ui.SendNotSentButton, &QPushButton::clicked, this, &THistoryForm::SendNotSentButtonClick);
    connect(ui.RescheduleButton, &QPushButton::clicked, this, &THistoryForm::RescheduleButtonClick);
    connect(ui.DropButton, &QPushButton::clicked, this, &THistoryForm::DropButtonClick);
    connect(ui.ExportButton, &QPushButton::clicked, this, &THistoryForm::ExportButtonClick);

    refresh();
}

THistoryForm::~THistoryForm()
{
    // The grid's read ends before its connection goes.
    m_model->clear();
    QSqlDatabase::database(m_connection, false).close();
    QSqlDatabase::removeDatabase(m_connection);
}

HistoryQuery THistoryForm::currentQuery() const
{
    HistoryQuery query;
    query.search = m_ui->SearchEdit->text();
    query.notSentOnly = m_ui->NotSentOnly->isChecked();
    return query;
}

void THistoryForm::refresh()
{
    m_searchPause->stop();
    const std::optional<HistoryEntry> selected = selectedEntry();
    // The grid's unfinished read is ended first: while it is open, this connection sees history.db as it was
    // when that read began, without what was written since.
    m_model->clear();
    QVariantList binds;
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.prepare(HistoryStore::selectStatement(currentQuery(), &binds));
    for (const QVariant& value : binds)
        query.addBindValue(value);
    query.exec();
    m_model->setQuery(std::move(query));
    if (selected)
        selectEntry(selected->id);
    updateButtons();
}

void THistoryForm::selectEntry(qint64 id)
{
    for (int row = 0; row < m_model->rowCount(); ++row) {
        if (m_model->index(row, 0).data().toLongLong() == id) {
            // Not QTableView::selectRow: it takes its column at the viewport's edge, and selects nothing when no
            // column is there (a right-to-left grid not laid out yet).
            m_ui->Grid->selectionModel()->setCurrentIndex(
                m_ui->Grid->model()->index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            return;
        }
    }
}

std::optional<HistoryEntry> THistoryForm::selectedEntry() const
{
    const QModelIndexList rows = m_ui->Grid->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return std::nullopt;
    return HistoryStore::entryOf(m_model->record(rows.first().row()));
}

void THistoryForm::updateButtons()
{
    const std::optional<HistoryEntry> entry = selectedEntry();
    const bool scheduled = entry && entry->scheduled;
    m_ui->SendAgainButton->setEnabled(entry && !scheduled);
    m_ui->SendNotSentButton->setEnabled(entry && entry->listId != 0 && !m_store.notSentOfList(entry->listId).isEmpty());
    m_ui->RescheduleButton->setEnabled(scheduled);
    m_ui->DropButton->setEnabled(scheduled);
}

void THistoryForm::SendAgainButtonClick()
{
    const std::optional<HistoryEntry> entry = selectedEntry();
    if (entry && !entry->scheduled)
        emit sendAgain(*entry);
}

void THistoryForm::SendNotSentButtonClick()
{
    const std::optional<HistoryEntry> entry = selectedEntry();
    if (entry && entry->listId != 0)
        emit sendAgainToNotSent(entry->listId);
}

void THistoryForm::RescheduleButtonClick()
{
    const std::optional<HistoryEntry> entry = selectedEntry();
    if (!entry || !entry->scheduled)
        return;
    const std::optional<QDateTime> due = QueueDialogs::askDueTime(this, tr("שינוי מועד"), entry->due);
    if (!due)
        return;
    // The queue may have sent it while the dialog was open.
    if (!m_store.reschedule(entry->id, *due))
        UserPrompt::current()->information(tr("ההודעה כבר אינה ממתינה לשליחה."));
    refresh();
    emit queueChanged();
}

void THistoryForm::DropButtonClick()
{
    const std::optional<HistoryEntry> entry = selectedEntry();
    if (!entry || !entry->scheduled)
        return;
    if (!UserPrompt::current()->question(
            tr("לבטל את שליחת ההודעה ל-%1 ב-%2?").arg(recipientOf(*entry), QueueDialogs::shownTime(entry->due))))
        return;
    if (!m_store.drop(entry->id))
        UserPrompt::current()->information(tr("ההודעה כבר אינה ממתינה לשליחה."));
    refresh();
    emit queueChanged();
}

void THistoryForm::ExportButtonClick()
{
    const QString path = chooseExportFile
        ? chooseExportFile()
        : QFileDialog::getSaveFileName(
            this, tr("ייצוא ל-CSV"), QDir::home().filePath(QStringLiteral("history.csv")), tr("קובצי CSV (*.csv)"));
    if (path.isEmpty())
        return;
    const QList<HistoryEntry> entries = m_store.entries(currentQuery());
    QString error = m_store.error();
    if (error.isEmpty() && AtomicFile::write(path, csvOf(entries), &error)) {
        UserPrompt::current()->information(
            tr("%1 רשומות נכתבו אל %2").arg(entries.size()).arg(QDir::toNativeSeparators(path)));
        return;
    }
    UserPrompt::current()->information(tr("הקובץ %1 לא נכתב: %2").arg(QDir::toNativeSeparators(path), error));
}

QByteArray THistoryForm::csvOf(const QList<HistoryEntry>& entries)
{
    QStringList lines { QStringLiteral("time,name,area,phone,provider,message,status,status text,confirmed,source") };
    for (const HistoryEntry& entry : entries) {
        const QStringList fields { entry.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), entry.name, entry.area,
            entry.phone, entry.provider, entry.message, QString::number(entry.status), statusTextOf(entry),
            entry.confirmed ? QStringLiteral("1") : QStringLiteral("0"), HistoryStore::sourceName(entry.source) };
        QStringList quoted;
        for (const QString& field : fields)
            quoted << csvField(field);
        lines << quoted.join(QLatin1Char(','));
    }
    // Lines end in CR LF, as RFC 4180 has it; the byte-order mark tells spreadsheets the text is UTF-8.
    return QByteArrayLiteral("\xEF\xBB\xBF") + (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}
