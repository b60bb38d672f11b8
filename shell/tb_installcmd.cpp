// The install commands: each asks, searches for the archives its item stands
// for, offers each one found, unpacks it and reports.

#include "shell/tb_main.h"
#include "shell/tb_mainparts.h"

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

// ---- Install commands ----

void TMain::InstallCommand(int tag, std::string_view pattern) {
    if (Ask(MoreMessage(MsgSearchDrives), {}, AlertYesNo) != AnswerYes) return;
    ShowBanner("", false);
    const auto ask = [this](const fs::path& archive) -> int {
        QApplication::setOverrideCursor(Qt::ArrowCursor);
        const int answer =
            Ask(MoreMessage(MsgFoundArchive), {ArchiveQuestionName(archive)}, AlertYesNoCancel);
        QApplication::restoreOverrideCursor();
        return answer;
    };
    // The message line counts the folders and names the one being searched.
    const auto onFolder = [this](std::uint32_t count, const fs::path& folder) {
        xBottomLab.setText(QString::number(count) + QString::fromUtf8("  ") + ToQString(folder));
        TEventPump::Process();
        return true;
    };
    TInstallReport report;
    try {
        // The hourglass shows while the search runs, whatever ends it.
        struct TWaitCursor {
            TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
            ~TWaitCursor() { QApplication::restoreOverrideCursor(); }
        } searching;
        report = InstallArchives(Folders(), ArchiveKindOf(pattern).value(), ask, onFolder,
                                 SearchPlaces ? *SearchPlaces : LocalSearchPlaces());
    } catch (...) {
        Adapter.EnableMenus(true);
        throw;
    }
    // An archive with members that were not written is kept, and the player
    // learns which ones: a few names, one a line, and how many more.
    for (const TInstalled& done : report.Archives) {
        if (done.Result.Failed.empty()) continue;
        const std::string& text = MoreMessage(MsgNotInstalled);
        const auto lines = AlertMaxLines - std::count(text.begin(), text.end(), '|');
        Ask(FailedMembersMessage(text, MoreMessage(MsgAndMore), done.Archive, done.Result.Failed,
                                 static_cast<std::size_t>(std::max<std::ptrdiff_t>(lines, 1))),
            {}, AlertOK);
    }
    Ask(MoreMessage(report.Search.Found ? MsgFilesInstalled : MsgNothingFound), {}, AlertOK);
    Adapter.EnableMenus(true);
    // Each install command serves once a run.
    ShowItem(tag, false);
}

} // namespace tb
