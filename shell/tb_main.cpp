// The main window: building its controls, start-up, showing, closing and
// minimising, and the shell operations the game and the adapter call.

#include "shell/tb_main.h"

#include "play/tb_boxuti.h"
#include "play/tb_colour.h"
#include "play/tb_congratbox.h"
#include "play/tb_pump.h"
#include "play/tb_util.h"
#include "records/browsers/tb_authbox.h"
#include "records/browsers/tb_champbox.h"
#include "records/browsers/tb_solbox.h"
#include "records/browsers/tb_wribox.h"
#include "services/d_error.h"
#include "services/d_folders.h"
#include "services/d_language.h"
#include "services/d_messages.h"
#include "services/d_settings.h"
#include "services/d_sound.h"
#include "services/d_string.h"
#include "services/d_types.h"
#include "shell/tb_aboutbox.h"
#include "shell/tb_errbox.h"
#include "shell/tb_gamebox.h"
#include "shell/tb_helpwin.h"
#include "shell/tb_jpeg.h"
#include "shell/tb_levbox.h"
#include "shell/tb_namebox.h"
#include "shell/tb_playerbox.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QGraphicsDropShadowEffect>
#include <QLayout>
#include <QMenuBar>
#include <QMouseEvent>
#include <QUrl>

#include <algorithm>
#include <filesystem>
#include <random>
namespace tb {
namespace fs = std::filesystem;

namespace {

TMain* TheMain = nullptr;

} // namespace

TMain* MainWindow() {
    return TheMain;
}

TMain::TMain(const TFolders& folders, const TProgress& progress) : RunFolders(folders) {
    TheMain = this;
    setWindowTitle(ToUnicode(ApplicationTitle));
    setWindowFlags(windowFlags() & ~Qt::WindowMaximizeButtonHint);
    setCentralWidget(&Client);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    BuildControls();
    MainMenu = std::make_unique<TMenu>(*menuBar(), MenuRows());
    OptionsPart = std::make_unique<TOptions>(*this, *MainMenu, RunFolders);
    Install = std::make_unique<TInstallCommand>(*this, *this, Adapter, RunFolders);
    Item(TagReadOnly)->setEnabled(false); // only the editor switches it
    // The hall shows only once the champions' records hold someone.
    connect(MainMenu->Menu(TagFileMenu), &QMenu::aboutToShow, this,
            [this] { ShowItem(TagHall, GameObject && Game().ChampionCount() > 0); });
    SetMainFonts(ToUnicode(Settings().FontName), Settings().FontSize);
    try {
        GameObject =
            std::make_unique<TWinGame>(Adapter, *this, RunFolders, progress, Settings().Frugal);
        Adapter.SetGame(GameObject.get());
        Searches.SetGame(GameObject.get());
    } catch (...) {
        TErrBox_Display(std::current_exception());
        throw; // without its records the program cannot run
    }
    GameObject->RememberStart(Settings().Game, Settings().Level);
    SetDialogFontBold(Settings().BoldFont);
    PlayerBox = std::make_unique<TPlayerBox>(this);
    CongratBox = std::make_unique<TCongratBox>(RunFolders, this);
    GameBox = std::make_unique<TGameBox>(this);
    NameBox = std::make_unique<TNameBox>(this);
    LevBox = std::make_unique<TLevBox>(this);
    const TAllGames& records = GameObject->GetRecords();
    const auto openAt = [this](const std::string& name, int level) {
        return OpenFromBrowser(name, level);
    };
    SolBox = std::make_unique<TSolBox>(this, records, openAt);
    ChampBox = std::make_unique<TChampBox>(this, records, *SolBox);
    WriBox = std::make_unique<TWriBox>(this, records, openAt);
    AuthBox = std::make_unique<TAuthBox>(this, records, *WriBox);
    const auto help = [this](std::string_view topic) {
        ShowHelpTopic(RunFolders.HelpFolder, topic);
    };
    for (TPictureDialog* box : PictureDialogs())
        box->OpenHelp = help;
    for (TRecordBox* box : RecordBoxes()) {
        box->OpenHelp = help;
        box->SetColours(ToQColor(Settings().List), ToQColor(Settings().ListFont));
        box->SetBackgroundsOn(Settings().Backgrounds);
    }
    Item(TagBold)->setChecked(Settings().BoldFont);
    BuildBuiltInTiles();
    SetMainForm(this);
    SetBoxSoundHook([](TBoxSound sound, bool synchronous) {
        TSoundBank& bank = SoundBank();
        const std::uint8_t entry =
            sound == TBoxSound::Error ? bank.ErrorSound : bank.EffectEntry(TEffect::Input);
        bank.PlaySoundEntry(entry, !synchronous);
    });
    SoundBank().ProcessMessages = [] { TEventPump::Process(); };
    // Held-down keys repeat into nothing while a command runs.
    TEventPump::InstallFilter();
}

TMain::~TMain() {
    SoundBank().ProcessMessages = nullptr;
    SetBoxSoundHook({});
    SetMainForm(nullptr);
    if (TheMain == this) TheMain = nullptr;
}

// ---- Building the window ----

void TMain::BuildControls() {
    // The design layout for the smallest tiles; the tile-size layout grows it.
    Client.setFixedSize(500, 328);
    xiPanel.setGeometry(0, 0, 500, 292);
    xiPanel.setFrameStyle(QFrame::Panel | QFrame::Raised);
    xMap.setGeometry(2, 2, 496, 288);
    xMap.MouseDown = [this](QMouseEvent& event) { MapMouseDown(event); };
    xMap.MouseMove = [this](QMouseEvent& event) { Editor.Move(event.position().toPoint()); };
    xMap.MouseUp = [this](QMouseEvent& event) {
        if (event.button() == Qt::LeftButton)
            Editor.Release(event.position().toPoint(), GameObject.get());
    };

    QPalette dark = palette();
    dark.setColor(QPalette::Window, QColor(0x10, 0x18, 0x30));
    dark.setColor(QPalette::WindowText, Qt::white);
    // The level buttons' numbers stand out on the dark panels of every skin:
    // light digits, and a dark face for the raised button of the level in play.
    dark.setColor(QPalette::ButtonText, Qt::white);
    dark.setColor(QPalette::Button, QColor(0x28, 0x38, 0x68));
    for (TPanel* panel : {&xBottomPan, &xNamePan, &xClockPan, &xStepPan, &xLevelPan, &xPalettePan})
        panel->setPalette(dark);

    const std::array<std::pair<QLabel*, int>, 3> titles = {
        std::pair{&xTit1, 14}, std::pair{&xTit2, 30}, std::pair{&xTit3, 10}};
    for (auto [label, points] : titles) {
        label->setAlignment(Qt::AlignHCenter);
        QFont font = label->font();
        font.setPointSize(points);
        font.setBold(true);
        label->setFont(font);
        QPalette colours = label->palette();
        colours.setColor(QPalette::WindowText, QColor(0xFF, 0xE0, 0x40));
        label->setPalette(colours);
        auto* shadow = new QGraphicsDropShadowEffect(label); // owned by the label
        shadow->setOffset(2, 2);
        shadow->setBlurRadius(0);
        shadow->setColor(QColor(0x80, 0x00, 0x00));
        label->setGraphicsEffect(shadow);
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    xTit1.setText(ToUnicode(MoreMessage(MsgWelcome)));
    xTit2.setText(ToUnicode(ApplicationTitle));
    xTit3.setText(QString::fromUtf8("Version ") +
                  QString::fromLatin1(ProgramVersion.data(), ProgramVersion.size()));

    xBottomPan.setGeometry(0, 292, 500, 36);
    xBottomLab.setAlignment(Qt::AlignCenter);
    xBottomLab.setGeometry(xBottomPan.contentsRect());
    xPalettePan.setGeometry(0, 292, 160, 36);
    xNamePan.setGeometry(0, 292, 160, 36);
    xNameLab.setAlignment(Qt::AlignCenter);
    xClockPan.setGeometry(0, 292, 80, 36);
    xClockLab.setAlignment(Qt::AlignCenter);
    xClockLab.setText("00:00");
    xStepPan.setGeometry(80, 292, 80, 36);
    xStepLab.setAlignment(Qt::AlignCenter);
    xStepLab.setText("9999");
    xLevelPan.setGeometry(160, 292, 340, 36);
    for (QLabel* label : {&xClockLab, &xStepLab, &xNameLab}) {
        QFont font = label->font();
        font.setBold(true);
        font.setPointSize(12);
        label->setFont(font);
    }
    xBottomLab.setAttribute(Qt::WA_TransparentForMouseEvents);
    xNameLab.setAttribute(Qt::WA_TransparentForMouseEvents);
    // A click on the message line or the name panel loads a game.
    xBottomPan.Clicked = [this] { TEventPump::RunCommand([this] { LoadGameCommand(); }); };
    xNamePan.Clicked = [this] { TEventPump::RunCommand([this] { LoadGameCommand(); }); };

    for (std::size_t i = 0; i < xLev.size(); ++i) {
        auto* button = new QToolButton(&xLevelPan); // owned by the panel
        button->setText(QString::number(i + 1));
        button->setCheckable(true);
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setGeometry(0, 6, 24, 24);
        const auto level = static_cast<std::uint8_t>(i + 1);
        connect(button, &QToolButton::clicked, this, [this, level] {
            // During a play back a click only hands the level to the player.
            if (!Game().IsEdit() && Game().GetState() == TState::Replay) {
                Adapter.SelectLevelButton(Game().GetLevel());
                Game().TakeOver();
                return;
            }
            if (!TEventPump::RunCommand([this, level] { LevelButtonCommand(level); }))
                Adapter.SelectLevelButton(Game().GetLevel());
        });
        xLev[i] = button;
    }
    for (std::size_t i = 0; i < xPal.size(); ++i) {
        auto* button = new QToolButton(&xPalettePan); // owned by the panel
        // The selected button is raised, the others flat.
        button->setAutoRaise(static_cast<int>(i) != Editor.SelectedSlot());
        button->setFocusPolicy(Qt::NoFocus);
        button->setGeometry(0, 6, 24, 24);
        connect(button, &QToolButton::clicked, this, [this, slot = static_cast<int>(i)] {
            TEventPump::RunCommand([this, slot] { Editor.Choose(slot); });
        });
        xPal[i] = button;
    }
    xPalettePan.hide();
    xNamePan.hide();
    xClockPan.hide();
    xStepPan.hide();
    xLevelPan.hide();

    xTim.setInterval(1000);
    connect(&xTim, &QTimer::timeout, this, &TMain::ClockTick);
    xMessTim.setInterval(1200);
    xMessTim.setSingleShot(true);
    connect(&xMessTim, &QTimer::timeout, this, [this] { Adapter.EnableMenus(true); });
    setFocusPolicy(Qt::StrongFocus);
}

// ---- Showing, closing, minimising ----

void TMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    // The window is as large as its contents (the layout fixes its size). A
    // late notice of an older size from the window system is put right once
    // this event is over, a few times at most so that a window manager that
    // insists is not fought without end.
    if (minimumSize() != CorrectedSize) { // a new size: the count starts again
        CorrectedSize = minimumSize();
        SizeCorrections = 0;
    }
    if (minimumSize() == maximumSize() && size() != minimumSize()) {
        if (SizeCorrections < 3) {
            ++SizeCorrections;
            QTimer::singleShot(0, this, [this] {
                if (minimumSize() == maximumSize()) resize(minimumSize());
            });
        }
    } else {
        SizeCorrections = 0;
    }
    // A smaller window is drawn anew, menu bar included: the system does
    // not ask for the part that stays.
    update();
}

void TMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (Shown) return;
    Shown = true;
    FormShow();
}

void TMain::FormShow() {
    TSettings& settings = Settings();
    if (settings.Size == 0) {
        const int largest = std::clamp<int>(settings.ScreenClassNumber, 1, 4);
        settings.Size = static_cast<std::uint8_t>(largest >= 3 ? 3 : largest < 2 ? 1 : 2);
    }
    LayOut(settings.Size);
    ShowItem(TagGameMenu, false);
    Game().SetSpeed(static_cast<std::uint8_t>(std::clamp<int>(settings.Speed, 1, 4)));
    ShowItem(TagStepBack, false);
    ShowItem(TagRestore, false);
    OptionsPart->Start();
    TEventPump::Process();
    if (CloseAboutBox) CloseAboutBox();
    Adapter.EnableMenus(true);
    Adapter.RepaintMap();
}

void TMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !GameObject) return;
    // Minimised, the game runs at full speed without pictures or sounds.
    Game().SetActive(!isMinimized());
}

bool TMain::CloseQuery() {
    TWinGame& game = Game();
    if (Terminating) return true;
    if (game.GetState() == TState::Replay) {
        game.TakeOver();
        return false;
    }
    if (game.IsEdit()) {
        game.PlayMode();
        if (game.IsEdit()) return false; // the player stays in the editor
    }
    if (game.GetState() == TState::Play && game.GetSolution().GetSteps() > 0 &&
        !game.IsShowingSolution()) {
        const std::uint8_t answer = Ask(MoreMessage(MsgSaveInProgress), {}, AlertYesNoCancel);
        if (answer == AnswerCancel) return false;
        if (answer == AnswerYes) game.SaveProgress();
    }
    if (Ask(MoreMessage(MsgReallyExit), {}, AlertYesNo) != AnswerYes) return false;
    xTim.stop();
    return true;
}

void TMain::closeEvent(QCloseEvent* event) {
    // The window manager's close while a command runs waits for its end (a
    // play back is only stopped); the program's own close goes on.
    if (event->spontaneous() && !Terminating && TEventPump::CommandRunning()) {
        if (GameObject && Game().GetState() == TState::Replay) Game().TakeOver();
        event->ignore();
        return;
    }
    bool allowed = false;
    try {
        allowed = CloseQuery();
    } catch (...) {
        TErrBox_Display(std::current_exception());
    }
    if (!allowed) {
        event->ignore();
        return;
    }
    event->accept();
    // Closing always completes: whatever fails here is passed over.
    try {
        PlayEffect(TEffect::Exit);
        WriteSettingsNow();
        TEventPump::Process();
    } catch (...) {
    }
}

void TMain::WriteSettingsNow() {
    TSettings& settings = Settings();
    const TWinGame& game = Game();
    settings.Language = Language().Name;
    settings.Player = game.GetPlayer();
    settings.Speed = game.GetSpeed();
    settings.SoundOn = SoundBank().SoundOn;
    const bool gameOpen = game.GetState() != TState::None && !game.GameName().empty();
    if (gameOpen) {
        settings.Game = game.GameName();
        settings.Level = game.GetLevel();
    }
    const TSettingsWrite written = WriteSettings(RunFolders, settings, gameOpen);
    if (!written.Report.empty()) TErrBox_Show_Text(written.Report);
}

// ---- Shell operations ----

void TMain::ShowBanner(const std::string& text, bool lockInput) {
    Adapter.EnableMenus(false);
    xBottomLab.setText(ToUnicode(text));
    for (TPanel* panel : {&xNamePan, &xLevelPan, &xClockPan, &xStepPan, &xPalettePan})
        panel->hide();
    xBottomPan.show();
    if (lockInput) xMessTim.start();
}

void TMain::LayoutLevelButtons() {
    const int count = GameObject ? Game().LevelCount() : 0;
    if (count == 0) return;
    const int width = xLevelPan.contentsRect().width();
    const int slot = width / count;
    const int margin = (width - count * slot) / 2;
    for (int i = 1; i <= 9; ++i) {
        QToolButton* button = xLev[static_cast<std::size_t>(i - 1)];
        button->setVisible(i <= count);
        button->move(xLevelPan.contentsRect().left() + margin + (i - 1) * slot +
                         (slot - button->width()) / 2,
                     button->y());
    }
    UpdateLevelHints();
    TEventPump::Process();
}

void TMain::UpdateLevelHints() {
    const int count = std::min<int>(Game().LevelCount(), 9);
    for (int i = 1; i <= count; ++i)
        xLev[static_cast<std::size_t>(i - 1)]->setToolTip(
            ToUnicode(Game().LevelName(static_cast<std::uint8_t>(i))));
}

void TMain::ProcessMessages() {
    TEventPump::Process();
}

std::uint8_t TMain::Ask(const std::string& message, const std::vector<std::string>& args,
                        std::uint8_t buttons) {
    return Alert.Run(message, args, false, buttons);
}

std::string TMain::ChooseGame(bool& editable) {
    // The game of the last run until a game was loaded, then the player's
    // own last choice (the dialog keeps it).
    return GameBox->Run(Game(), editable, Game().RememberedGameName());
}

void TMain::ShowCongratulations() {
    CongratBox->Run(&xiPanel);
}

std::string TMain::ChoosePlayer(const std::vector<std::string>& names, const std::string& current) {
    PlayerBox->SetNames(names);
    return PlayerBox->Run(current);
}

void TMain::ForgetPlayer(const std::string& name) {
    PlayerBox->RemovePlayerName(name);
}

bool TMain::AskGameName(std::string& name, std::uint8_t& skill, std::string& author,
                        bool& changed) {
    return NameBox->Run(name, skill, author, changed);
}

bool TMain::AskLevelName(std::string& name, bool& changed) {
    return LevBox->Run(name, changed);
}

void TMain::ShowError(const std::string& message) {
    TErrBox_Show_Text(message);
}

void TMain::Terminate() {
    // No player is left: the program ends without its closing questions.
    Terminating = true;
    close();
    QCoreApplication::quit();
}

// ---- Record browsers ----

std::array<TPictureDialog*, 4> TMain::PictureDialogs() const {
    return {GameBox.get(), PlayerBox.get(), NameBox.get(), LevBox.get()};
}

std::array<TRecordBox*, 4> TMain::RecordBoxes() const {
    return {ChampBox.get(), SolBox.get(), AuthBox.get(), WriBox.get()};
}

void TMain::HallCommand() {
    PlayEffect(TEffect::Champion);
    ChampBox->ShowChampions();
}

void TMain::AuthorsCommand() {
    PlayEffect(TEffect::Champion);
    AuthBox->ShowAuthors();
}

bool TMain::OpenFromBrowser(const std::string& name, int level) {
    TWinGame& game = Game();
    if (game.IsEdit()) {
        game.PlayMode();
        if (game.IsEdit()) return false; // the player stays in the editor
    }
    game.OpenGameAt(name, static_cast<std::uint8_t>(std::clamp(level, 1, 9)));
    return true;
}

} // namespace tb
