#include "play/tb_searchjob.h"

#include <exception>

namespace tb {

void TSearchJob::Start(const TMap& position, std::uint64_t maxStates, int threads) {
    Cancel();
    Copy = std::make_unique<TMap>();
    Copy->Assign(position);
    Answer = {};
    Finished.store(false);
    Stored.store(0);
    Worker = std::jthread([this, maxStates, threads](std::stop_token stop) {
        THintOptions options;
        options.MaxStates = maxStates;
        options.Threads = threads;
        options.Stop = stop;
        options.Progress = [this](const TSolveProgress& progress) {
            Stored.store(progress.Stored, std::memory_order_relaxed);
        };
        try {
            Answer.Hint = Hinter.Find(*Copy, options);
            Stored.store(Answer.Hint.Positions, std::memory_order_relaxed);
        } catch (const std::exception& e) {
            Answer.Error = e.what();
        }
        Finished.store(true, std::memory_order_release);
    });
}

bool TSearchJob::Cancel() {
    if (!Worker.joinable()) return false;
    Worker.request_stop();
    Worker.join();
    Finished.store(false);
    return true;
}

std::optional<TSearchAnswer> TSearchJob::Take() {
    if (!Worker.joinable() || !Done()) return std::nullopt;
    Worker.join();
    Finished.store(false);
    return std::move(Answer);
}

} // namespace tb
