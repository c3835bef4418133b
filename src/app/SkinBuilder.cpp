#include "SkinBuilder.h"

#include "app/Application.h"
#include "app/FileKeys.h"
#include "app/HistoryKeys.h"
#include "editor/Drops.h"
#include "editor/Guarded.h"
#include "preview/PreviewWindow.h"
#include "widgets/Dialogs.h"

#include <QEvent>

namespace fabulor {
namespace {

// Keeps the preview window, and with it the program, open while the user
// keeps unsaved changes; the preview's own close handling runs only once
// the skin may go.
class CloseGuard : public QObject {
public:
    explicit CloseGuard(TFBox& settings) : QObject(&settings), m_settings(settings) {}

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::Close) return false;
        // Refused until the user has let the skin go, so a failure while
        // asking keeps the program open too.
        event->ignore();
        if (!m_settings.fileGuard().MayLeaveSkin()) return true;
        event->accept();
        return false;
    }

private:
    TFBox& m_settings;
};

} // namespace

SkinBuilder::SkinBuilder(Application& app, std::unique_ptr<Dialogs> dialogs)
    : m_app(app), m_dialogs(dialogs ? std::move(dialogs) : std::make_unique<StandardDialogs>())
{
    // The preview window comes first and is the main window.
    m_preview = std::make_unique<TF>();
    m_settings = std::make_unique<TFBox>(*m_preview, m_document, *m_dialogs);
    m_app.setDialogs(m_dialogs.get());
    m_preview->SelectComponent = [this](int index) { m_settings->SelectComponent(index); };

    QObject::connect(m_preview.get(), &TF::shown, m_settings.get(), [this] {
        m_settings->show();
        m_settings->raise();
    });
    m_preview->installEventFilter(new CloseGuard(*m_settings));
    new HistoryKeys(m_settings->history(), {m_preview.get(), m_settings.get()}, m_settings.get());
    new FileKeys(*m_settings, {m_preview.get(), m_settings.get()});
    new SkinDrops(*m_settings, *m_preview);
    // Closing the preview window, once the user has settled any unsaved
    // changes, releases the document and ends the program.
    QObject::connect(m_preview.get(), &TF::closing, m_settings.get(), [this] {
        m_document.reset();
        m_settings->hide();
        m_app.quit();
    });
}

SkinBuilder::~SkinBuilder()
{
    m_app.setDialogs(nullptr);
}

void SkinBuilder::show()
{
    m_preview->show();
}

void SkinBuilder::openAtStart(const QString& fileName)
{
    // Nothing can be unsaved yet, so nothing is asked.
    Guarded(m_settings.get(), [this, fileName] { m_settings->LoadSkinFile(fileName); })();
}

} // namespace fabulor
