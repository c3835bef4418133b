#include "editor/SkinChecker.h"

#include "check/SystemFonts.h"

#include <QFontDatabase>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <exception>
#include <future>
#include <mutex>

namespace fabulor {

// The picture cache serves one check at a time. A check that starts while
// another holds it (a save's, while one for the list runs, or the other way
// round) decodes into a cache of its own rather than wait.
struct SharedPictureCache {
    std::mutex inUse;
    CheckPictureCache cache;
};

namespace {

std::vector<Finding> RunCheck(const SkinChecker::CheckFunction& check, const IniStore& document,
                              const CheckEnvironment& environment, SharedPictureCache& pictures)
{
    const std::unique_lock held(pictures.inUse, std::try_to_lock);
    try {
        return check(document, environment, held.owns_lock() ? &pictures.cache : nullptr);
    } catch (const std::exception& error) {
        // Shown as a finding rather than lost on the worker thread.
        return {Finding{
            Severity::Error, std::string("Sprawdzenie nie powiodło się: ") + error.what(), {}, {}, -1}};
    }
}

} // namespace

SkinChecker::SkinChecker(std::function<IniStore()> snapshot, QObject* parent)
    : QObject(parent), m_snapshot(std::move(snapshot)),
      m_check([](const IniStore& document, const CheckEnvironment& environment, CheckPictureCache* cache) {
          return CheckSkin(document, environment, cache);
      }),
      m_pictures(std::make_shared<SharedPictureCache>())
{
    m_delay.setSingleShot(true);
    m_delay.setInterval(std::chrono::milliseconds(300));
    connect(&m_delay, &QTimer::timeout, this, [this] {
        if (m_running)
            m_again = true;
        else
            start();
    });
    connect(&m_watcher, &QFutureWatcher<std::vector<Finding>>::finished, this, &SkinChecker::finished);
}

SkinChecker::~SkinChecker()
{
    m_watcher.waitForFinished();
}

void SkinChecker::setDelay(std::chrono::milliseconds delay)
{
    m_delay.setInterval(delay);
}

void SkinChecker::schedule()
{
    ++m_changes;
    m_delay.start();
}

void SkinChecker::checkNow()
{
    m_delay.stop();
    if (m_running)
        m_again = true;
    else
        start();
}

bool SkinChecker::busy() const
{
    return m_delay.isActive() || m_running;
}

CheckEnvironment SkinChecker::environment()
{
    // The font database answers on the GUI thread only; the worker gets a
    // copy of its families.
    if (!m_fonts) {
        std::vector<QString> families;
        for (const QString& family : QFontDatabase::families())
            families.push_back(family.toLower());
        std::sort(families.begin(), families.end());
        m_fonts = std::make_shared<const std::vector<QString>>(std::move(families));
    }
    // Sizes and measures come from the font database and font metrics,
    // which answer on any thread.
    CheckEnvironment environment = SystemCheckEnvironment();
    // Families match regardless of case, as the font database matches them.
    const auto has = [fonts = m_fonts](const QString& name) {
        return std::binary_search(fonts->begin(), fonts->end(), name.toLower());
    };
    environment.fontInstalled = [has](const std::string& family) {
        // The check hands over names in UTF-8; a name in the skin's own
        // 8-bit text is taken too.
        const QByteArray bytes = QByteArray::fromStdString(family);
        return has(QString::fromUtf8(bytes)) || has(QString::fromLatin1(bytes));
    };
    // fontconfig answers on any thread; what is installed comes from the copy.
    environment.fontSubstitute = [has](const std::string& family) { return MetricSubstitute(family, has); };
    return environment;
}

void SkinChecker::start()
{
    m_again = false;
    m_running = true;
    m_startedAt = m_changes;
    // Taken here, on the GUI thread, while nothing else touches the preview.
    auto document = std::make_shared<const IniStore>(m_snapshot());
    m_watcher.setFuture(
        QtConcurrent::run([check = m_check, document, environment = environment(), pictures = m_pictures] {
            return RunCheck(check, *document, environment, *pictures);
        }));
}

void SkinChecker::finished()
{
    m_running = false;
    if (m_startedAt == m_changes) {
        m_findings = m_watcher.result();
        m_hasResult = true;
        emit checked();
    } else {
        // The skin changed while this copy was being checked.
        ++m_dropped;
        if (!m_delay.isActive()) m_again = true;
    }
    if (m_again) start();
}

std::optional<std::vector<Finding>> SkinChecker::checkBeforeSave(const IniStore& document)
{
    // The save goes on with the skin's own document as soon as this
    // returns, while an overtaken check may still be reading: it reads a
    // copy.
    auto copy = std::make_shared<const IniStore>(document);
    auto answer = std::make_shared<std::promise<std::vector<Finding>>>();
    std::future<std::vector<Finding>> findings = answer->get_future();
    // Checks that ended are forgotten; one still under way is waited for
    // when the checker goes.
    const QList<QFuture<void>> earlier = m_saveChecks.futures();
    if (std::all_of(earlier.begin(), earlier.end(), [](const QFuture<void>& f) { return f.isFinished(); }))
        m_saveChecks.clearFutures();
    m_saveChecks.addFuture(
        QtConcurrent::run([check = m_check, copy, environment = environment(), pictures = m_pictures,
                           answer] { answer->set_value(RunCheck(check, *copy, environment, *pictures)); }));
    if (findings.wait_for(m_saveLimit) != std::future_status::ready) return std::nullopt;
    return findings.get();
}

} // namespace fabulor
