#pragma once
// What the four record browsers share: a fixed-size form with the skin's
// picture behind a shadowed title, a row of header panels above a grid of at
// least ten rows, an OK button, and two buttons out of sight that make Enter
// and Escape close the form. The browsers only read the records.

#include "play/tb_congratbox.h"

#include <QAbstractTableModel>
#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTableView>

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace tb {

// The play window's command that opens a game at a level (lowered to the
// game's level count when it is above it); answers whether it opened (the
// player may choose to stay in the editor).
using TOpenGameAt = std::function<bool(const std::string& name, int level)>;

// The text of a number right-aligned in `width` characters, blanks on the left.
std::string PadNumber(long long value, int width);
// A blank followed by one star per skill point.
std::string SkillStars(int skill);

// One row of a browser: its cells in the language's code page, and what the
// open action needs (a stored player, a game or an author name, a level).
struct TGridRow {
    std::vector<std::string> Cells;
    std::string Key;
    int Number = 0;
};

// The rows of a grid. Data rows come first; the blank rows after them fill
// the grid up to its least number of rows and can be neither selected nor
// entered.
class TGridRows : public QAbstractTableModel {
public:
    TGridRows(int columns, QObject* parent);
    void SetRows(std::vector<TGridRow> rows, int minRows);
    int DataRows() const { return static_cast<int>(Rows.size()); }
    const TGridRow& Row(int row) const { return Rows.at(static_cast<std::size_t>(row)); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    int Columns;
    int RowTotal = 0;
    std::vector<TGridRow> Rows;
    std::vector<std::vector<QString>> Shown; // the cells as the window shows them
};

// The string grid of a browser (`xList`): whole rows are selected, the first
// column (the row numbers) is fixed, rows are 18 pixels high, the vertical
// scroll bar is always shown. A double-click or Space on a data row asks for
// the open action.
class TRecordGrid : public QTableView {
    Q_OBJECT
public:
    static constexpr int RowHeight = 18;
    static constexpr int MinRows = 10;

    TRecordGrid(int columns, QWidget* parent);
    TRecordGrid(const TRecordGrid&) = delete;
    TRecordGrid& operator=(const TRecordGrid&) = delete;

    void SetRows(std::vector<TGridRow> rows);
    int DataRows() const { return Model->DataRows(); }
    int RowCount() const { return Model->rowCount(); }
    // The cell's text as shown (empty outside the grid).
    QString Cell(int row, int column) const;
    const TGridRow& Row(int row) const { return Model->Row(row); }
    bool IsSelectable(int row) const;
    // The selected data row, or -1.
    int SelectedRow() const;
    // Selects a data row; any other row clears the selection.
    void SelectDataRow(int row);
    // The column's width without its grid line.
    int ColumnWidth(int column) const;
    void SetColumnWidth(int column, int width);

signals:
    void OpenRow(int row);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    TGridRows* Model; // owned by the grid
};

// A header panel: its object name, default caption and Tag (0: none).
struct THeadPanel {
    const char* Name;
    const char* Caption;
    int Tag;
    int Width;
};

class TRecordBox : public QDialog {
    Q_OBJECT
public:
    // Tag of the OK button's caption.
    static constexpr int TagOK = 4;

    // `spans`: how many header panels each grid column lies under, left to
    // right (one each when empty).
    TRecordBox(QWidget* parent, const char* name, std::string_view helpTopic,
               const std::vector<THeadPanel>& panels, const std::vector<int>& spans = {});

    // The dialog's font (header panels and buttons inherit it) takes the name
    // and size, and bold when `bold`; the title takes the name with size + 4;
    // the grid keeps its fixed-pitch font. The character set is the
    // language's: the window's texts are Unicode already. An empty name or a
    // size of 0 keeps what there is.
    void SetFonts(const QString& name, int charset, int size, bool bold);
    // The grid's background (the List colour) and text (the ListFont colour).
    void SetColours(const QColor& list, const QColor& listFont);
    // Whether the picture shows behind the form (the Backgrounds setting).
    void SetBackgroundsOn(bool on) { Backgrounds = on; }
    // The skin's picture, stretched over the whole form. A null picture is ignored.
    void SetBackground(const QPixmap& picture);
    // Tag → caption in the language's code page; empty captions are ignored.
    void ApplyCaptions(const std::map<int, std::string>& captions);
    // A header panel's width: its design width, widened to fit its caption.
    static int PanelWidth(const QLabel& panel);

    // True when a level or game was opened from this showing.
    bool Chosen() const { return ChosenFlag; }
    // Opens a help topic (F1 asks for the dialog's topic); empty: no help.
    std::function<void(std::string_view topic)> OpenHelp;

    QLabel xPic{this}; // first, so that it lies behind every other control
    TShadowLabel xTitle{this};
    QFrame xHead{this};
    std::vector<QLabel*> Panels; // the header panels, left to right
    TRecordGrid xList;
    QPushButton xOK{this};
    QPushButton xOK1{this};     // default, out of sight: Enter
    QPushButton xCancel1{this}; // cancel, out of sight: Escape

protected:
    // The first steps of every fill: the chosen flag cleared, the title set,
    // fitted and centred, the grid's hint and its rows.
    void Fill(const std::string& title, const std::string& hint, std::vector<TGridRow> rows);
    // Centres the form on the main window and shows it modally; answers the
    // chosen flag. `selectFirst` moves the selection to the first row.
    bool RunModal(bool selectFirst);
    // A level or game was opened: set the chosen flag and close.
    void Choose();
    // The open action of a data row.
    virtual void OpenRow(int row) = 0;
    // The text of an invisible label (the parts of titles and hints) by its Tag.
    const std::string& Text(int tag) const { return Texts.at(tag); }
    // The invisible labels, with their default captions (code page 1252).
    std::map<int, std::string> Texts;

    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Layout();
    void FitTitle();

    std::string HelpTopic;
    std::vector<int> Spans;
    QFont TitleFont;
    bool Backgrounds = true;
    bool SelectFirst = false;
    bool ChosenFlag = false;
};

class TAllGames;

// A browser whose rows open a game at a level in the play window (the best
// level results and the games of an author).
class TGameOpenerBox : public TRecordBox {
    Q_OBJECT
public:
    // The number of data rows of the last fill.
    int RowsFilled() const { return xList.DataRows(); }

protected:
    TGameOpenerBox(QWidget* parent, const char* name, std::string_view helpTopic,
                   const std::vector<THeadPanel>& panels, const TAllGames& records,
                   TOpenGameAt openGameAt);

    // Opens the game of the row's Key at the row's Number and closes.
    void OpenRow(int row) override;

    const TAllGames& Records;

private:
    TOpenGameAt OpenGameAt;
};

// A browser whose rows show the details of their Key in another browser (the
// game authors and the hall of champions); it closes when the details opened
// a game.
class TDetailsOpenerBox : public TRecordBox {
    Q_OBJECT
public:
    // Shows the details of a row's Key; answers whether a game was opened.
    using TShowDetails = std::function<bool(const std::string& key)>;

protected:
    TDetailsOpenerBox(QWidget* parent, const char* name, std::string_view helpTopic,
                      const std::vector<THeadPanel>& panels, const TAllGames& records,
                      TShowDetails showDetails, const std::vector<int>& spans = {});

    void OpenRow(int row) override;

    const TAllGames& Records;

private:
    TShowDetails ShowDetails;
};

} // namespace tb
