// The install commands: each asks, searches for the archives its item stands
// for, offers each one found, unpacks it and reports.

#include "shell/tb_installcmd.h"

#include "play/tb_alertbox.h"
#include "play/tb_interface.h"
#include "play/tb_mainview.h"
#include "play/tb_pump.h"
#include "play/tb_util.h"
#include "play/tb_wingame.h"
#include "services/d_folders.h"
#include "services/d_messages.h"

#include <QApplication>

#include <algorithm>
#include <filesystem>

namespace tb {
namespace fs = std::filesystem;

void TInstallCommand::Run(int tag, std::string_view pattern) {
    if (Shell.Ask(MoreMessage(MsgSearchDrives), {}, AlertYesNo) != AnswerYes) return;
    View.ShowBanner("", false);
    const auto ask = [this](const fs::path& archive) -> int {
        QApplication::setOverrideCursor(Qt::ArrowCursor);
        const int answer = Shell.Ask(MoreMessage(MsgFoundArchive), {ArchiveQuestionName(archive)},
                                     AlertYesNoCancel);
        QApplication::restoreOverrideCursor();
        return answer;
    };
    // The message line counts the folders and names the one being searched.
    const auto onFolder = [this](std::uint32_t count, const fs::path& folder) {
        View.SetPanelText(TBottomPanel::Message,
                          QString::number(count) + QString::fromUtf8("  ") + ToQString(folder));
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
        report = InstallArchives(Folders, ArchiveKindOf(pattern).value(), ask, onFolder,
                                 SearchPlaces ? *SearchPlaces : LocalSearchPlaces());
    } catch (...) {
        Ui.EnableMenus(true);
        throw;
    }
    // An archive with members that were not written is kept, and the player
    // learns which ones: a few names, one a line, and how many more.
    for (const TInstalled& done : report.Archives) {
        if (done.Result.Failed.empty()) continue;
        const std::string& text = MoreMessage(MsgNotInstalled);
        const auto lines = AlertMaxLines - std::count(text.begin(), text.end(), '|');
        Shell.Ask(
            FailedMembersMessage(text, MoreMessage(MsgAndMore), done.Archive, done.Result.Failed,
                                 static_cast<std::size_t>(std::max<std::ptrdiff_t>(lines, 1))),
            {}, AlertOK);
    }
    Shell.Ask(MoreMessage(report.Search.Found ? MsgFilesInstalled : MsgNothingFound), {}, AlertOK);
    Ui.EnableMenus(true);
    // Each install command serves once a run.
    View.ShowItem(tag, false);
}

} // namespace tb
