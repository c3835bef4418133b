#pragma once
// Runs the skin check for the editor: a short while after the skin last
// changed, on a worker thread, so that typing never waits for it. The check
// reads a copy of the skin as the preview shows it, taken on the GUI thread
// when the check starts; a result that a later change has made stale is
// dropped, and the check runs again. A save's check runs on a worker too,
// and a save waits for it only a short while.

#include "check/SkinCheck.h"
#include "document/IniStore.h"

#include <QFutureSynchronizer>
#include <QFutureWatcher>
#include <QObject>
#include <QTimer>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace fabulor {

struct SharedPictureCache;

class SkinChecker : public QObject {
    Q_OBJECT
public:
    using CheckFunction =
        std::function<std::vector<Finding>(const IniStore&, const CheckEnvironment&, CheckPictureCache*)>;

    // snapshot gives the copy of the skin to check; it runs on the GUI thread.
    explicit SkinChecker(std::function<IniStore()> snapshot, QObject* parent = nullptr);
    // Waits for a check under way: it uses this checker's picture cache.
    ~SkinChecker() override;

    // CheckSkin unless replaced (tests hold the worker to see what is
    // dropped).
    void setCheckFunction(CheckFunction check) { m_check = std::move(check); }
    void setDelay(std::chrono::milliseconds delay);

    // The skin changed: a check starts once it has been left alone for the
    // delay.
    void schedule();
    // Starts a check of the skin as it is now, or one more after the check
    // under way.
    void checkNow();
    // Checks a copy of document on a worker, with the pictures decoded
    // before, and waits at most the save limit for the findings. None when
    // the check is overtaken: it runs on, its answer unused, and a save goes
    // ahead rather than hang on its check.
    std::optional<std::vector<Finding>> checkBeforeSave(const IniStore& document);
    void setSaveLimit(std::chrono::milliseconds limit) { m_saveLimit = limit; }

    // Whether a check is waiting for its delay or under way.
    bool busy() const;
    // The findings of the latest check whose skin had not changed since it
    // started; empty before the first.
    const std::vector<Finding>& findings() const { return m_findings; }
    bool hasResult() const { return m_hasResult; }
    // How many results came too late for their skin, for the tests.
    int droppedResults() const { return m_dropped; }

signals:
    // findings() hold a new result.
    void checked();

private:
    void start();
    void finished();
    CheckEnvironment environment();

    std::function<IniStore()> m_snapshot;
    CheckFunction m_check;
    QTimer m_delay;
    QFutureWatcher<std::vector<Finding>> m_watcher;
    // One cache, used by one check at a time: pictures an edit left alone
    // are not decoded again.
    std::shared_ptr<SharedPictureCache> m_pictures;
    std::chrono::milliseconds m_saveLimit{3000};
    // The installed font families, read once on the GUI thread (lower case).
    std::shared_ptr<const std::vector<QString>> m_fonts;
    std::uint64_t m_changes = 0;   // counts the changes announced
    std::uint64_t m_startedAt = 0; // the count the running check's copy was taken at
    // From the start of a check until its result has been handled here
    // (the worker is done a little earlier).
    bool m_running = false;
    bool m_again = false; // a check was asked for while one ran
    bool m_hasResult = false;
    int m_dropped = 0;
    std::vector<Finding> m_findings;
    // Saves' checks; the last member, so that it waits for an overtaken one
    // before anything else goes.
    QFutureSynchronizer<void> m_saveChecks;
};

} // namespace fabulor
