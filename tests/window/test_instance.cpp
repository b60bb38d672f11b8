// One running copy: real processes meet over the instance check (the probe
// stands in for the program). Then the tray, none and pretended.

#include "play/d_hidwin.h"
#include "shell/tb_instance.h"
#include "tests/window/window_support.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

namespace tb::test {
namespace {

// A probe on the fixture's name, started; its output is read line by line.
struct Probe {
    Probe(const QString& folder, const QString& name, const char* mode, int number) {
        Process.start(INSTANCE_PROBE, {folder, name, mode, QString::number(number)});
    }
    ~Probe() {
        Process.kill();
        Process.waitForFinished(2000);
    }
    // The next line of output; empty when none comes within `ms`.
    QString Line(int ms = 5000) {
        const QDeadlineTimer deadline(ms);
        while (!Process.canReadLine() && !deadline.hasExpired())
            if (!Process.waitForReadyRead(50) && Process.state() == QProcess::NotRunning) break;
        return QString::fromLocal8Bit(Process.readLine()).trimmed();
    }
    // Ended within `ms`, and with exit code 0.
    bool EndedQuietly(int ms = 5000) {
        Process.waitForFinished(ms);
        return Process.state() == QProcess::NotRunning &&
               Process.exitStatus() == QProcess::NormalExit && Process.exitCode() == 0;
    }
    QProcess Process;
};

class Instance : public ::testing::Test {
protected:
    std::unique_ptr<Probe> Start(const char* mode, int number) {
        return std::make_unique<Probe>(Folder.path(), Name, mode, number);
    }
    QString File(const QString& suffix = {}) const {
        return QDir(Folder.path()).filePath(Name + suffix);
    }
    QTemporaryDir Folder;
    QString Name = TInstance::ServerName("tester", Folder.path());
};

TEST(InstanceName, SeparatesUsersAndInstallations) {
    const QString name = TInstance::ServerName("ann", "/opt/tobbin");
    EXPECT_TRUE(QRegularExpression("^tobbin-[0-9a-f]{16}$").match(name).hasMatch());
    EXPECT_EQ(name, TInstance::ServerName("ann", "/opt/tobbin"));
    EXPECT_NE(name, TInstance::ServerName("bob", "/opt/tobbin"));
    EXPECT_NE(name, TInstance::ServerName("ann", "/home/ann/tobbin"));
    EXPECT_NE(TInstance::ServerName("ann", "x/opt"), TInstance::ServerName("annx", "/opt"));
}

TEST_F(Instance, ASecondStartBringsTheFirstForwardAndEndsWhateverHappenedToTheFilesBefore) {
    // As it is; after a crashed copy left its socket and lock behind; after
    // a cleaner of old files took the running copy's lock file away.
    for (const char* before : {"nothing", "crash", "lost lock"}) {
        SCOPED_TRACE(before);
        auto first = Start("wait", 1);
        ASSERT_EQ(first->Line(), "first");
        if (before == std::string("crash")) {
            first.reset(); // killed: no chance to clean up
            ASSERT_TRUE(QFileInfo::exists(File()));
            ASSERT_TRUE(QFileInfo::exists(File(".lock")));
            first = Start("wait", 1);
            ASSERT_EQ(first->Line(), "first");
        }
        if (before == std::string("lost lock")) {
            ASSERT_TRUE(QFile::remove(File(".lock")));
        }
        auto second = Start("start", 3000);
        ASSERT_TRUE(second->EndedQuietly());
        EXPECT_EQ(second->Line(), "forwarded");
        EXPECT_EQ(first->Line(), "come-forward");
        ASSERT_TRUE(first->EndedQuietly());
        // A copy that ended in order leaves no socket; the next start runs.
        EXPECT_FALSE(QFileInfo::exists(File()));
    }
}

TEST_F(Instance, HungCopyOrNoPlaceForTheLock) {
    // A copy that holds the name but never answers: the later start gives up
    // after its wait and ends all the same.
    auto hung = Start("deaf", 8000);
    ASSERT_EQ(hung->Line(), "first");
    auto second = Start("start", 300);
    ASSERT_TRUE(second->EndedQuietly(6000));
    EXPECT_EQ(second->Line(), "no-answer");

    // Where no lock file can be made and nobody listens, the program still
    // starts, unguarded, rather than refusing to run.
    TInstance nowhere(Name, QDir(Folder.path()).filePath("missing/folder"));
    EXPECT_EQ(nowhere.Claim(), TInstance::TClaim::Unguarded);
}

// ---- The tray ----

TEST_F(WindowTest, MinimisingGoesIntoTheTrayOnlyWhereThereIsOneAndAClickBringsTheWindowBack) {
    QWidget main, other;
    auto plain = std::make_unique<THidWin>([&main] { return &main; });
    ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable()); // the off-screen platform
    main.show();
    main.showMinimized();
    QTest::qWait(20);
    EXPECT_TRUE(main.isMinimized() && main.isVisible());
    EXPECT_FALSE(plain->InTray() || plain->Hide_App());
    plain->BringForward();
    EXPECT_TRUE(!main.isMinimized() && main.isVisible());
    plain.reset();
    // Neither is a main window that start-up has not shown yet shown early,
    // nor does anything go into the tray before the main window exists.
    QWidget starting;
    THidWin(([&starting] { return &starting; })).BringForward();
    EXPECT_FALSE(starting.isVisible());
    THidWin early([] { return static_cast<QWidget*>(nullptr); });
    early.TrayAvailable = [] { return true; };
    EXPECT_FALSE(early.Hide_App());

    THidWin hid([&main] { return &main; });
    hid.TrayAvailable = [] { return true; };
    other.showMinimized();
    main.showMinimized();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !main.isVisible(); }, 2000));
    EXPECT_TRUE(hid.InTray());
    EXPECT_EQ(hid.xTray.toolTip(), QCoreApplication::applicationName());
    EXPECT_FALSE(hid.xTray.icon().isNull());
    // Another window coming back must not take the icon away: the hidden
    // main window would be out of reach.
    other.showNormal();
    QTest::qWait(20);
    EXPECT_TRUE(hid.InTray() && !main.isVisible());
    emit hid.xTray.activated(QSystemTrayIcon::Trigger);
    EXPECT_TRUE(main.isVisible() && !main.isMinimized() && !hid.InTray());
    // Restored by other means, the tray icon goes and the window comes back.
    ASSERT_TRUE(hid.Hide_App());
    ASSERT_FALSE(main.isVisible());
    main.setWindowState(Qt::WindowMinimized);
    main.setWindowState(Qt::WindowNoState);
    EXPECT_TRUE(main.isVisible() && !hid.InTray());
    // Minimised and at once restored: the late hiding leaves the window be.
    main.showMinimized();
    main.showNormal();
    QTest::qWait(20);
    EXPECT_TRUE(main.isVisible() && !hid.InTray());
}

} // namespace
} // namespace tb::test
