#include "shell/tb_helpwin.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

namespace tb {
namespace {

constexpr std::string_view kContentsTopic = "Welcome";
constexpr std::string_view kPageExtension = ".html";

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The page shown for a topic that has no page in the help folder.
QString NotInstalledPage(const std::filesystem::path& helpFolder, std::string_view topic) {
    return QStringLiteral("<html><head><title>Help topic not installed</title></head><body>"
                          "<h2>This help topic is not installed: %1</h2>"
                          "<p>The help pages belong in the folder <tt>%2</tt> beside the "
                          "program. Try the <a href=\"%3%4\">contents</a>.</p></body></html>")
        .arg(ToQString(topic).toHtmlEscaped(),
             QString::fromStdU16String(helpFolder.u16string()).toHtmlEscaped(),
             ToQString(kContentsTopic), ToQString(kPageExtension));
}

class THelpWin : public QWidget {
public:
    THelpWin() : QWidget(nullptr, Qt::Window) {
        setObjectName(QStringLiteral("HelpWindow"));
        setWindowTitle(QStringLiteral("Tobbin Help"));
        xText.setObjectName(QStringLiteral("xText"));
        xContents.setObjectName(QStringLiteral("xContents"));
        xBack.setObjectName(QStringLiteral("xBack"));
        xClose.setObjectName(QStringLiteral("xClose"));
        xText.setOpenLinks(false);            // every link goes through the topic checks
        auto* buttons = new QHBoxLayout;      // owned by the window's layout
        auto* layout = new QVBoxLayout(this); // owned by the window
        buttons->addWidget(&xContents);
        buttons->addWidget(&xBack);
        buttons->addStretch();
        buttons->addWidget(&xClose);
        layout->addLayout(buttons);
        layout->addWidget(&xText);
        connect(&xText, &QTextBrowser::anchorClicked, this,
                [this](const QUrl& url) { Follow(url); });
        connect(&xContents, &QPushButton::clicked, this, [this] { Open(kContentsTopic); });
        connect(&xBack, &QPushButton::clicked, this, [this] { Back(); });
        connect(&xClose, &QPushButton::clicked, this, [this] { close(); });
        xBack.setEnabled(false);
        resize(680, 600);
    }

    // Where the pages are; set before each Open.
    void SetFolder(std::filesystem::path folder) { Folder = std::move(folder); }

    // Shows the topic; the topic shown before it is kept for Back.
    void Open(std::string_view topic) {
        if (Shown && *Shown != topic) History.push_back(*Shown);
        Show(std::string(topic));
    }

protected:
    void closeEvent(QCloseEvent* event) override {
        // Opened above a dialog, the window took the input; closed, it lets go.
        setWindowModality(Qt::NonModal);
        QWidget::closeEvent(event);
    }

private:
    QTextBrowser xText{this};
    QPushButton xContents{QStringLiteral("&Contents"), this};
    QPushButton xBack{QStringLiteral("&Back"), this};
    QPushButton xClose{QStringLiteral("C&lose"), this};
    std::vector<std::string> History;
    std::optional<std::string> Shown; // the topic on the screen
    std::filesystem::path Folder;     // the help folder

    void Back() {
        if (History.empty()) return;
        std::string topic = std::move(History.back());
        History.pop_back();
        Show(std::move(topic));
    }

    void Show(std::string topic) {
        const std::filesystem::path file = HelpTopicFile(Folder, topic);
        std::error_code error;
        if (!file.empty() && std::filesystem::is_regular_file(file, error)) {
            // Pictures and links resolve against the page's own folder.
            const QUrl url = QUrl::fromLocalFile(QString::fromStdU16String(file.u16string()));
            if (xText.source() == url)
                xText.reload(); // the not-installed page may stand in between
            else
                xText.setSource(url);
        } else {
            xText.setHtml(NotInstalledPage(Folder, topic));
        }
        Shown = std::move(topic);
        xBack.setEnabled(!History.empty());
    }

    void Follow(const QUrl& url) {
        const QString scheme = url.scheme();
        if (scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
            scheme == QLatin1String("mailto")) {
            QDesktopServices::openUrl(url);
            return;
        }
        QString path = url.isLocalFile() ? url.toLocalFile() : url.path();
        if (path.isEmpty()) { // an anchor on the same page
            if (url.hasFragment()) xText.scrollToAnchor(url.fragment());
            return;
        }
        const QString helpFolder = QString::fromStdU16String(Folder.u16string());
        if (url.isLocalFile() && path.startsWith(helpFolder + QLatin1Char('/')))
            path = path.mid(helpFolder.size() + 1);
        const QString extension = ToQString(kPageExtension);
        // A link that is not a page of the help folder reaches HelpTopicFile as
        // it is, and shows the not-installed page.
        if (path.endsWith(extension)) path.chop(extension.size());
        Open(path.toStdString());
        if (url.hasFragment()) xText.scrollToAnchor(url.fragment());
    }
};

std::unique_ptr<THelpWin>& Slot() {
    static std::unique_ptr<THelpWin> window;
    return window;
}

// The window goes before the application: when the message loop ends, or at
// the latest while the application object is taken down.
void DropWindow() {
    Slot().reset();
}

THelpWin& Window() {
    std::unique_ptr<THelpWin>& window = Slot();
    if (!window) {
        window = std::make_unique<THelpWin>();
        static const bool registered = [] {
            qAddPostRoutine(DropWindow);
            QObject::connect(qApp, &QCoreApplication::aboutToQuit, qApp, &DropWindow);
            return true;
        }();
        (void)registered;
    }
    return *window;
}

} // namespace

std::filesystem::path HelpTopicFile(const std::filesystem::path& helpFolder,
                                    std::string_view topic) {
    if (topic.empty() || topic.find_first_of("/\\:") != std::string_view::npos ||
        topic.find("..") != std::string_view::npos || topic.front() == '.')
        return {};
    std::string name(topic);
    name += kPageExtension;
    return helpFolder / name;
}

void ShowHelpTopic(const std::filesystem::path& helpFolder, std::string_view topic) {
    THelpWin& window = Window();
    window.SetFolder(helpFolder);
    // A modal dialog (F1 in a dialog) would block a plain window: above one,
    // the help window is modal itself until it is closed.
    QWidget* modal = QApplication::activeModalWidget();
    const Qt::WindowModality wanted =
        modal != nullptr && modal != &window ? Qt::ApplicationModal : Qt::NonModal;
    if (window.windowModality() != wanted) {
        window.hide();
        window.setWindowModality(wanted);
    }
    window.Open(topic);
    window.show();
    window.raise();
    window.activateWindow();
}

QWidget* HelpWindow() {
    return Slot().get();
}

} // namespace tb
