#include "records/browsers/tb_recbox.h"

#include "play/tb_boxuti.h"
#include "play/tb_colour.h"
#include "play/tb_util.h"
#include "services/d_settings.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>

#include <algorithm>
#include <utility>

namespace tb {

namespace {

// Design of the form.
constexpr int Margin = 10;
constexpr int TitleTop = 6;
constexpr int TitleGap = 8; // between the title and the header panels
constexpr int MinHeadHeight = 20;
constexpr int ButtonWidth = 90;
constexpr int ButtonHeight = 28;
constexpr int DesignPointSize = 9;
constexpr int TitleExtraPoints = 4; // the title is this much larger than the form's font
constexpr int TitleShrinkSteps = 4; // a title too wide for the form loses at most this many points
constexpr int GridPointSize = 10;
// The grid draws its line inside each column, so a column with its line is
// as wide as its header panel.
constexpr int GridLine = 1;
const QPoint OutOfSight(-200, -200);

} // namespace

std::string PadNumber(long long value, int width) {
    std::string text = std::to_string(value);
    if (static_cast<int>(text.size()) < width)
        text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
    return text;
}

std::string SkillStars(int skill) {
    std::string stars(1 + static_cast<std::size_t>(std::max(skill, 0)), '*');
    stars[0] = ' ';
    return stars;
}

// ---- TGridRows ----

TGridRows::TGridRows(int columns, QObject* parent)
    : QAbstractTableModel(parent), Columns(columns) {}

void TGridRows::SetRows(std::vector<TGridRow> rows, int minRows) {
    beginResetModel();
    Rows = std::move(rows);
    RowTotal = std::max(DataRows(), minRows);
    Shown.clear();
    Shown.reserve(Rows.size());
    for (const TGridRow& row : Rows) {
        std::vector<QString>& cells = Shown.emplace_back();
        cells.reserve(row.Cells.size());
        for (const std::string& cell : row.Cells)
            cells.push_back(ToUnicode(cell));
    }
    endResetModel();
}

int TGridRows::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : RowTotal;
}

int TGridRows::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Columns;
}

QVariant TGridRows::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= DataRows()) return {};
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    if (role != Qt::DisplayRole) return {};
    const std::vector<QString>& cells = Shown[static_cast<std::size_t>(index.row())];
    const auto column = static_cast<std::size_t>(index.column());
    return column < cells.size() ? cells[column] : QString();
}

Qt::ItemFlags TGridRows::flags(const QModelIndex& index) const {
    // Blank rows can be neither selected nor entered with the keys.
    if (!index.isValid() || index.row() >= DataRows()) return Qt::NoItemFlags;
    // The row numbers form the fixed column: never highlighted.
    if (index.column() == 0) return Qt::ItemIsEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

// ---- TRecordGrid ----

TRecordGrid::TRecordGrid(int columns, QWidget* parent)
    : QTableView(parent), Model(new TGridRows(columns, this)) {
    setObjectName(QStringLiteral("xList"));
    setModel(Model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    // The header panels above the grid stand in for its fixed rows.
    for (QHeaderView* header : {horizontalHeader(), verticalHeader()}) {
        header->hide();
        header->setMinimumSectionSize(1);
        header->setSectionResizeMode(QHeaderView::Fixed);
    }
    horizontalHeader()->setStretchLastSection(false);
    verticalHeader()->setDefaultSectionSize(RowHeight);
    Model->SetRows({}, MinRows);
}

void TRecordGrid::SetRows(std::vector<TGridRow> rows) {
    Model->SetRows(std::move(rows), MinRows);
    scrollToTop();
}

QString TRecordGrid::Cell(int row, int column) const {
    return Model->data(Model->index(row, column), Qt::DisplayRole).toString();
}

bool TRecordGrid::IsSelectable(int row) const {
    return row >= 0 && row < DataRows();
}

int TRecordGrid::SelectedRow() const {
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    if (selected.isEmpty()) return -1;
    const int row = selected.first().row();
    return IsSelectable(row) ? row : -1;
}

void TRecordGrid::SelectDataRow(int row) {
    if (!IsSelectable(row)) {
        clearSelection();
        return;
    }
    setCurrentIndex(Model->index(row, 1));
    selectRow(row);
    scrollTo(Model->index(row, 1));
}

int TRecordGrid::ColumnWidth(int column) const {
    return columnWidth(column) - GridLine;
}

void TRecordGrid::SetColumnWidth(int column, int width) {
    setColumnWidth(column, std::max(width, 0) + GridLine);
}

void TRecordGrid::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        const int row = SelectedRow();
        if (row >= 0) emit OpenRow(row);
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void TRecordGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    QTableView::mouseDoubleClickEvent(event);
    // The row under the mouse, not the selected one: a double-click on a blank
    // row does nothing.
    const int row = indexAt(event->position().toPoint()).row();
    if (event->button() == Qt::LeftButton && IsSelectable(row)) {
        SelectDataRow(row);
        emit OpenRow(row);
    }
}

// ---- TRecordBox ----

TRecordBox::TRecordBox(QWidget* parent, const char* name, std::string_view helpTopic,
                       const std::vector<THeadPanel>& panels, const std::vector<int>& spans)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      xList(spans.empty() ? static_cast<int>(panels.size()) : static_cast<int>(spans.size()),
            &xHead),
      HelpTopic(helpTopic), Spans(spans) {
    setObjectName(QString::fromLatin1(name));
    setModal(true);
    setWindowTitle(ToUnicode(ApplicationTitle));
    if (Spans.empty()) Spans.assign(panels.size(), 1);

    xPic.setObjectName(QStringLiteral("xPic"));
    xPic.setScaledContents(true);
    xPic.hide();
    xTitle.setObjectName(QStringLiteral("xTitle"));
    xHead.setObjectName(QStringLiteral("xHead"));
    for (const THeadPanel& design : panels) {
        auto* panel = new QLabel(QString::fromLatin1(design.Caption), &xHead);
        panel->setObjectName(QString::fromLatin1(design.Name));
        if (design.Tag != 0) panel->setProperty("Tag", design.Tag);
        panel->setProperty("DesignWidth", design.Width);
        panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
        panel->setAlignment(Qt::AlignCenter);
        panel->setAutoFillBackground(true);
        Panels.push_back(panel);
    }

    xOK.setObjectName(QStringLiteral("xOK"));
    xOK.setText(QStringLiteral("&OK"));
    xOK.setProperty("Tag", TagOK);
    xOK.setFlat(true);
    xOK.setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    xOK.setFixedSize(ButtonWidth, ButtonHeight);
    xOK1.setObjectName(QStringLiteral("xOK1"));
    xCancel1.setObjectName(QStringLiteral("xCancel1"));
    for (QPushButton* button : {&xOK, &xOK1, &xCancel1}) {
        // No button takes the focus: the grid keeps it, and Enter goes to the
        // default button.
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoDefault(false);
    }
    xOK1.setDefault(true);
    xOK1.setGeometry(QRect(OutOfSight, QSize(10, 10)));
    xCancel1.setGeometry(QRect(OutOfSight, QSize(10, 10)));
    connect(&xOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(&xOK1, &QPushButton::clicked, this, &QDialog::accept);
    connect(&xCancel1, &QPushButton::clicked, this, &QDialog::reject);
    connect(&xList, &TRecordGrid::OpenRow, this, [this](int row) { OpenRow(row); });

    QFont boxFont = font();
    boxFont.setPointSize(DesignPointSize);
    setFont(boxFont);
    TitleFont = boxFont;
    TitleFont.setPointSize(DesignPointSize + TitleExtraPoints);
    TitleFont.setBold(true);
    QFont gridFont(QString::fromStdString(Settings().FixedFontName), GridPointSize);
    gridFont.setStyleHint(QFont::TypeWriter);
    gridFont.setFixedPitch(true);
    gridFont.setBold(true);
    xList.setFont(gridFont);
    SetColours(ToQColor(Settings().List), ToQColor(Settings().ListFont));
    Backgrounds = Settings().Backgrounds;
    Layout();
    FitTitle();
}

void TRecordBox::SetFonts(const QString& name, int /*charset*/, int size, bool bold) {
    QFont boxFont = font();
    if (!name.isEmpty()) boxFont.setFamily(name);
    if (size > 0) boxFont.setPointSize(size);
    boxFont.setBold(bold);
    setFont(boxFont);
    if (!name.isEmpty()) TitleFont.setFamily(name);
    if (size > 0) TitleFont.setPointSize(size + TitleExtraPoints);
    QFont gridFont = xList.font();
    gridFont.setFamily(QString::fromStdString(Settings().FixedFontName));
    xList.setFont(gridFont);
    Layout();
    FitTitle();
}

void TRecordBox::SetColours(const QColor& list, const QColor& listFont) {
    QPalette palette = xList.palette();
    for (const QPalette::ColorRole role :
         {QPalette::Base, QPalette::AlternateBase, QPalette::Window})
        palette.setColor(role, list);
    for (const QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText})
        palette.setColor(role, listFont);
    xList.setPalette(palette);
}

void TRecordBox::SetBackground(const QPixmap& picture) {
    if (!picture.isNull()) xPic.setPixmap(picture);
}

void TRecordBox::ApplyCaptions(const std::map<int, std::string>& captions) {
    for (const auto& [tag, caption] : captions) {
        if (caption.empty()) continue;
        if (tag == TagOK) xOK.setText(ToUnicode(caption));
        for (QLabel* panel : Panels)
            if (panel->property("Tag").toInt() == tag) panel->setText(ToUnicode(caption));
        const auto text = Texts.find(tag);
        if (text != Texts.end()) text->second = caption;
    }
    Layout(); // a longer caption widens its column
}

int TRecordBox::PanelWidth(const QLabel& panel) {
    // The design width, or wider when the caption needs it in this language
    // and font.
    const int needed = panel.fontMetrics().horizontalAdvance(panel.text()) +
                       2 * panel.frameWidth() + 2 * panel.fontMetrics().averageCharWidth();
    return std::max(panel.property("DesignWidth").toInt(), needed);
}

void TRecordBox::Layout() {
    const int headHeight = std::max(MinHeadHeight, QFontMetrics(font()).height() + 6);
    int left = 0;
    for (QLabel* panel : Panels) {
        const int width = PanelWidth(*panel);
        panel->setGeometry(left, 0, width, headHeight);
        left += width;
    }
    const int totalWidth = left;
    const int gridHeight = TRecordGrid::MinRows * TRecordGrid::RowHeight + 2 * xList.frameWidth();
    xList.setGeometry(0, headHeight, totalWidth, gridHeight);

    // Each column is as wide as the header panels above it less 1 pixel; the
    // last also leaves room for the vertical scroll bar.
    const int scrollBar = xList.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &xList);
    std::size_t panel = 0;
    for (std::size_t column = 0; column < Spans.size(); ++column) {
        int width = 0;
        for (int i = 0; i < Spans[column] && panel < Panels.size(); ++i, ++panel)
            width += Panels[panel]->width();
        width -= 1;
        if (column + 1 == Spans.size()) width -= scrollBar;
        xList.SetColumnWidth(static_cast<int>(column), width);
    }

    const int headTop = TitleTop + QFontMetrics(TitleFont).height() + TitleGap;
    xHead.setGeometry(Margin, headTop, totalWidth, headHeight + gridHeight);
    const int buttonTop = xHead.y() + xHead.height() + Margin;
    const int formWidth = totalWidth + 2 * Margin;
    xOK.move((formWidth - ButtonWidth) / 2, buttonTop);
    setFixedSize(formWidth, buttonTop + ButtonHeight + Margin);
    xPic.setGeometry(rect());
}

void TRecordBox::FitTitle() {
    xTitle.setFont(TitleFont);
    xTitle.adjustSize();
    // A title too wide for the picture is made smaller, a point at a time, at
    // most four times; each showing starts again from the full size.
    for (int step = 0; step < TitleShrinkSteps; ++step) {
        if (xTitle.width() < xPic.width()) break;
        QFont smaller = xTitle.font();
        smaller.setPointSize(smaller.pointSize() - 1);
        xTitle.setFont(smaller);
        xTitle.adjustSize();
    }
    // Centred, even when it still does not fit.
    xTitle.move(xPic.x() + (xPic.width() - xTitle.width()) / 2, TitleTop);
}

void TRecordBox::Fill(const std::string& title, const std::string& hint,
                      std::vector<TGridRow> rows) {
    ChosenFlag = false;
    xTitle.setText(ToUnicode(title));
    FitTitle();
    xList.setToolTip(ToUnicode(hint));
    xList.SetRows(std::move(rows));
}

bool TRecordBox::RunModal(bool selectFirst) {
    SelectFirst = selectFirst;
    xPic.setVisible(Backgrounds && !xPic.pixmap().isNull());
    if (SelectFirst) xList.SelectDataRow(0);
    CentreOnMain(*this);
    exec();
    return ChosenFlag;
}

void TRecordBox::Choose() {
    ChosenFlag = true;
    accept();
}

void TRecordBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        if (OpenHelp) OpenHelp(HelpTopic);
        return;
    }
    QDialog::keyPressEvent(event); // Enter: the default button; Escape: cancel
}

void TRecordBox::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The window frame is known only now: place the form again with it.
    CentreOnMain(*this);
    xList.setFocus(Qt::OtherFocusReason);
    if (SelectFirst && xList.SelectedRow() < 0) xList.SelectDataRow(0);
}

TGameOpenerBox::TGameOpenerBox(QWidget* parent, const char* name, std::string_view helpTopic,
                               const std::vector<THeadPanel>& panels, const TAllGames& records,
                               TOpenGameAt openGameAt)
    : TRecordBox(parent, name, helpTopic, panels), Records(records),
      OpenGameAt(std::move(openGameAt)) {}

void TGameOpenerBox::OpenRow(int row) {
    if (!xList.IsSelectable(row)) return;
    const TGridRow& chosen = xList.Row(row);
    // The browsers stay open when the level did not open.
    if (OpenGameAt && !OpenGameAt(chosen.Key, chosen.Number)) return;
    Choose();
}

TDetailsOpenerBox::TDetailsOpenerBox(QWidget* parent, const char* name, std::string_view helpTopic,
                                     const std::vector<THeadPanel>& panels,
                                     const TAllGames& records, TShowDetails showDetails,
                                     const std::vector<int>& spans)
    : TRecordBox(parent, name, helpTopic, panels, spans), Records(records),
      ShowDetails(std::move(showDetails)) {}

void TDetailsOpenerBox::OpenRow(int row) {
    if (!xList.IsSelectable(row)) return;
    // Copied: the details fill nothing here, but the row is ours.
    const std::string key = xList.Row(row).Key;
    if (ShowDetails(key)) Choose();
}

} // namespace tb
