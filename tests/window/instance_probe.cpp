// A stand-in for the program at start-up, for the single-copy tests: it runs
// the start-up check on a name and says what it found, one word a line.
//
//   instance_probe FOLDER NAME wait N   claim; when first, keep running and
//                                       print "come-forward" for each request,
//                                       ending after the N-th (or after 20 s)
//   instance_probe FOLDER NAME deaf MS  claim, then stop answering for MS ms
//   instance_probe FOLDER NAME start MS claim with MS ms to wait for an answer
//
// The claim prints "first", "forwarded", "no-answer" or "unguarded". A copy
// that would end (forwarded, no-answer) exits 0 at once, as the program does.

#include "shell/tb_instance.h"

#include <QCoreApplication>
#include <QThread>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void Say(const char* word) {
    std::printf("%s\n", word);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: instance_probe FOLDER NAME wait|deaf|start NUMBER\n");
        return 64;
    }
    QCoreApplication app(argc, argv);
    const char* mode = argv[3];
    const int number = std::atoi(argv[4]);

    tb::TInstance instance(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[1]));
    if (std::strcmp(mode, "start") == 0) instance.AnswerMilliseconds = number;
    int requests = 0;
    instance.ComeForward = [&] {
        Say("come-forward");
        if (std::strcmp(mode, "wait") == 0 && ++requests >= number)
            QTimer::singleShot(0, &app, [] { QCoreApplication::exit(0); });
    };
    const tb::TInstance::TClaim claim = instance.Claim();
    constexpr const char* Words[] = {"first", "forwarded", "no-answer", "unguarded"};
    Say(Words[static_cast<int>(claim)]);
    if (claim != tb::TInstance::TClaim::First) return 0;

    if (std::strcmp(mode, "deaf") == 0) {
        // A copy that hangs: the socket is there, nobody reads it.
        QThread::msleep(static_cast<unsigned long>(number));
        return 0;
    }
    if (std::strcmp(mode, "wait") != 0) return 0;
    QTimer::singleShot(20000, &app, [] { QCoreApplication::exit(2); });
    return QCoreApplication::exec();
}
