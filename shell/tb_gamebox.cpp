#include "shell/tb_gamebox.h"

#include "play/tb_boxuti.h"
#include "play/tb_util.h"
#include "records/tb_fullgame.h"
#include "services/d_error.h"
#include "services/d_messages.h"
#include "services/d_string.h"
#include "shell/tb_nameinput.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QTimer>

#include <algorithm>
#include <vector>

namespace tb {

namespace {

// Design of the dialog.
constexpr int Margin = 10;
constexpr int TextLeft = 56; // right of the hero's picture
constexpr int RowStep = 32;
constexpr int LabelGap = 8; // between a label and its field
constexpr int ComboGap = 6;
constexpr int MinGameWidth = 200;
constexpr int ButtonWidth = 90;
constexpr int ButtonHeight = 25;
constexpr int DesignPointSize = 9;
constexpr int HighestSteppedSkill = 4; // skill stepping stops at Tough

// Tags of the controls, by which the language file replaces their captions.
constexpr int TagCancel = 3;
constexpr int TagOK = 4;
constexpr int TagFrom = 5;
constexpr int TagGame = 6;
constexpr int TagAllow = 7;

} // namespace

TGameBox::TGameBox(QWidget* parent)
    : TPictureDialog(parent, "TGameBox", "Loading_games", TInputSound::NoWait) {
    xTobbin.setObjectName(QStringLiteral("xTobbin"));
    xTobbin.setGeometry(8, 8, 40, 60);
    xTobbin.setAlignment(Qt::AlignCenter);

    const struct {
        QWidget& control;
        const char* name;
        const char* caption;
        int tag;
    } controls[] = {
        {xCancel, "xCancel", "&Cancel", TagCancel},  {xOK, "xOK", "&OK", TagOK},
        {xpFrom, "xpFrom", "Select from:", TagFrom}, {xpGame, "xpGame", "Game name:", TagGame},
        {xAllow, "xAllow", "Allow &Edit", TagAllow},
    };
    for (const auto& c : controls) {
        c.control.setObjectName(QString::fromLatin1(c.name));
        c.control.setProperty("Tag", c.tag);
        c.control.setProperty("text", QString::fromLatin1(c.caption));
    }
    xPassed.setObjectName(QStringLiteral("xPassed"));
    xSkill.setObjectName(QStringLiteral("xSkill"));
    xGame.setObjectName(QStringLiteral("xGame"));
    xEdit.setObjectName(QStringLiteral("xEdit"));
    xPassed.setMaxVisibleItems(4);
    xGame.setMaxVisibleItems(12);
    xAllow.setBuddy(&xEdit); // Alt+E enters the check box
    xEdit.installEventFilter(this);
    // The tab order runs from the filters to the list and the check box.
    setTabOrder(&xPassed, &xSkill);
    setTabOrder(&xSkill, &xGame);
    setTabOrder(&xGame, &xEdit);

    for (QPushButton* button : {&xOK, &xCancel}) {
        button->setFixedSize(ButtonWidth, ButtonHeight);
        // Like speed buttons they never take the focus, so Enter and Escape
        // always reach the dialog's key handler.
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoDefault(false);
    }
    connect(&xOK, &QPushButton::clicked, this, [this] { Close(ResultOK); });
    connect(&xCancel, &QPushButton::clicked, this, [this] { Close(ResultCancel); });
    connect(&xEdit, &QCheckBox::clicked, this, [this] { xGame.setFocus(Qt::OtherFocusReason); });
    for (QComboBox* filter : {&xPassed, &xSkill}) {
        connect(filter, &QComboBox::currentIndexChanged, this, [this] {
            if (!Filling && Game != nullptr) RebuildList(false);
        });
    }
    SetBoxFont(QString(), DesignPointSize);
}

void TGameBox::SetHeroPicture(const QPixmap& picture) {
    if (!picture.isNull()) xTobbin.setPixmap(picture);
}

void TGameBox::ApplyCaptions(const std::map<int, std::string>& captions) {
    for (QWidget* control :
         std::initializer_list<QWidget*>{&xCancel, &xOK, &xpFrom, &xpGame, &xAllow}) {
        const auto found = captions.find(control->property("Tag").toInt());
        if (found != captions.end()) control->setProperty("text", ToUnicode(found->second));
    }
}

std::string TGameBox::Run(TFullGame& game, bool& editable, const std::string& preselect) {
    if (game.GameCount() == 0) throw Error(ErrorMessage(ErrNoGames));
    Game = &game;
    struct TEndOfRun {
        TFullGame*& Game;
        ~TEndOfRun() { Game = nullptr; }
    } endOfRun{Game};

    PrepareRun();
    ApplyNameFieldColours({&xPassed, &xSkill, &xGame});

    FillCombos();
    xEdit.show();
    xAllow.show();
    Filling = true;
    xPassed.setCurrentIndex(LastFilter);
    xSkill.setCurrentIndex(LastSkill);
    Filling = false;
    xEdit.setChecked(editable);

    TAllGames& records = game.GetRecords();
    if (Rebuild || records.Modified) {
        records.SetPlayerMarks(game.GetPlayer());
        RebuildList(true);
        Rebuild = false;
        records.Modified = false;
    }
    if (const TGamInfo* chosen = preselect.empty() ? nullptr : game.FindGame(preselect)) {
        Filling = true;
        xPassed.setCurrentIndex(chosen->Mark == 0 ? FilterNew : FilterOld);
        xSkill.setCurrentIndex(std::min<int>(chosen->Skill, AllSkills));
        Filling = false;
        FillGames();
        const int index = xGame.findData(ToBytes(chosen->Name));
        if (index >= 0) xGame.setCurrentIndex(index);
    } else if (const int last = xGame.findData(ToBytes(LastChoice)); last >= 0) {
        // Otherwise the player's own last choice, when the filters show it.
        xGame.setCurrentIndex(last);
    }
    Layout();
    CentreOnMain(*this);

    Result = ResultCancel;
    exec();

    LastFilter = xPassed.currentIndex();
    LastSkill = xSkill.currentIndex();
    if (Result != ResultOK) return {};
    const QByteArray chosen = xGame.currentData().toByteArray();
    const std::string name =
        Trim(std::string_view(chosen.constData(), static_cast<std::size_t>(chosen.size())));
    if (!name.empty()) {
        editable = xEdit.isChecked();
        LastChoice = name;
    }
    return name;
}

void TGameBox::FillCombos() {
    Filling = true;
    xSkill.clear();
    for (int skill = 0; skill <= AllSkills; ++skill)
        xSkill.addItem(ToUnicode(SkillName(skill)));
    xPassed.clear();
    for (int filter = FilterNew; filter <= FilterAll; ++filter)
        xPassed.addItem(ToUnicode(Text(TextList::Passed, filter + 1)));
    Filling = false;
}

void TGameBox::RebuildList(bool stepSkill) {
    FillGames();
    while (xGame.count() == 0 && stepSkill && xSkill.currentIndex() < HighestSteppedSkill) {
        Filling = true;
        xSkill.setCurrentIndex(xSkill.currentIndex() + 1);
        Filling = false;
        FillGames();
    }
}

void TGameBox::FillGames() {
    std::vector<std::string> names;
    const int filter = std::clamp(xPassed.currentIndex(), 0, static_cast<int>(FilterAll));
    const int skill = std::clamp(xSkill.currentIndex(), 0, AllSkills);
    Game->GetRecords().FillGameNames(static_cast<std::uint8_t>(filter),
                                     static_cast<std::uint8_t>(skill), names);
    // The list is sorted as the player reads it: letter case does not count.
    std::vector<std::pair<QString, std::string>> items;
    items.reserve(names.size());
    for (std::string& name : names)
        items.emplace_back(ToUnicode(name), std::move(name));
    std::stable_sort(items.begin(), items.end(), [](const auto& a, const auto& b) {
        return a.first.compare(b.first, Qt::CaseInsensitive) < 0;
    });
    xGame.clear();
    for (const auto& [text, name] : items)
        xGame.addItem(text, ToBytes(name));
    if (xGame.count() > 0) xGame.setCurrentIndex(0);
}

void TGameBox::Layout() {
    for (QLabel* label : {&xpFrom, &xpGame, &xAllow})
        label->adjustSize();
    for (QComboBox* combo : {&xPassed, &xSkill, &xGame})
        combo->adjustSize();
    const int fieldLeft = TextLeft + std::max(xpFrom.width(), xpGame.width()) + LabelGap;
    const int rowHeight = xPassed.height();

    int top = Margin + 2;
    xPassed.move(fieldLeft, top);
    xSkill.move(xPassed.x() + xPassed.width() + ComboGap, top);
    const int right = std::max(xSkill.x() + xSkill.width(), fieldLeft + MinGameWidth);
    xpFrom.move(TextLeft, top + (rowHeight - xpFrom.height()) / 2);

    top += RowStep;
    xGame.setGeometry(fieldLeft, top, right - fieldLeft, rowHeight);
    xpGame.move(TextLeft, top + (rowHeight - xpGame.height()) / 2);

    top += RowStep;
    xEdit.adjustSize();
    xEdit.move(fieldLeft, top + (rowHeight - xEdit.height()) / 2);
    xAllow.move(xEdit.x() + xEdit.width() + 2, top + (rowHeight - xAllow.height()) / 2);

    top += RowStep;
    xCancel.move(right - ButtonWidth, top);
    xOK.move(xCancel.x() - ComboGap - ButtonWidth, top);

    setFixedSize(right + Margin, top + ButtonHeight + Margin);
    xPic.setGeometry(rect());
}

void TGameBox::Close(std::uint8_t result) {
    Result = result;
    accept();
}

bool TGameBox::AnyDroppedDown() const {
    for (const QComboBox* combo : {&xPassed, &xSkill, &xGame})
        if (combo->view()->isVisible()) return true;
    return false;
}

void TGameBox::keyPressEvent(QKeyEvent* event) {
    if (AnyDroppedDown()) return;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Close(ResultOK);
        break;
    case Qt::Key_Escape:
        Close(ResultCancel);
        break;
    case Qt::Key_F1:
        OpenOwnHelp();
        Close(ResultCancel);
        break;
    default:
        QWidget::keyPressEvent(event); // not for the dialog: passed on
        break;
    }
}

bool TGameBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &xEdit && event->type() == QEvent::FocusIn) {
        // Entering the check box with the keyboard toggles it; the focus goes
        // back to the game list either way.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
            reason == Qt::ShortcutFocusReason) {
            xEdit.toggle();
            QTimer::singleShot(0, this, [this] { xGame.setFocus(Qt::OtherFocusReason); });
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TGameBox::FocusInput() {
    xGame.setFocus(Qt::OtherFocusReason);
}

} // namespace tb
