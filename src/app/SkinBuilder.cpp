#include "SkinBuilder.h"

#include "app/Application.h"
#include "preview/PreviewWindow.h"
#include "widgets/Dialogs.h"

namespace fabulor {

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
    // Closing the preview window releases the document and ends the program,
    // with no prompt: whatever was not saved is gone.
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

} // namespace fabulor
