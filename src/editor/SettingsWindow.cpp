#include "SettingsWindow.h"

#include "preview/PreviewWindow.h"
#include "widgets/Colours.h"
#include "widgets/Dialogs.h"
#include "widgets/WindowGeometry.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QTabBar>
#include <QTabWidget>
#include <QUndoStack>
#include <QVBoxLayout>

namespace fabulor {
namespace {

// The open and save dialogs of skin files.
FileDialogOptions SkinFileDialog(FileDialogOptions::Kind kind)
{
    FileDialogOptions options;
    options.kind = kind;
    options.filters = {{QStringLiteral("Skórki (*.ski)"), QStringLiteral("*.ski")}};
    options.defaultExtension = QStringLiteral("ski");
    options.fileMustExist = kind == FileDialogOptions::Kind::Open;
    return options;
}

// The program's style with tight tabs, so all five fit side by side in the
// narrow window. A style sheet would do it too, but would bring Qt's style
// sheet machinery into every start for one tab bar.
class TightTabStyle : public QProxyStyle {
public:
    explicit TightTabStyle(QObject* owner) : QProxyStyle(QStyleFactory::create(QApplication::style()->name()))
    {
        setParent(owner);
    }

    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        // The room beside and above a tab's caption, in pixels.
        if (metric == PM_TabBarTabHSpace) return 10;
        if (metric == PM_TabBarTabVSpace) return 6;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

} // namespace

TFBox::TFBox(TF& preview, SkinDocument& document, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      Op(dialogs, SkinFileDialog(FileDialogOptions::Kind::Open)),
      Sa(dialogs, SkinFileDialog(FileDialogOptions::Kind::Save)), F(preview), m_binding(preview),
      m_document(document), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("FBox"));
    m_stack = new QUndoStack(this);
    m_history = new EditHistory(m_binding, m_document, *this, *m_stack, this);
    // The title marks a skin with unsaved changes, the way Qt programs do.
    setWindowTitle(QStringLiteral("Ustawienia[*]"));
    connect(m_stack, &QUndoStack::cleanChanged, this, [this](bool clean) { setWindowModified(!clean); });
    QFont windowFont(QStringLiteral("Tahoma"));
    windowFont.setPixelSize(11);
    setFont(windowFont);
    move(384, 158);
    setOuterSize(this, QSize(282, 301));

    PCTRL = new QTabWidget(this);
    PCTRL->setObjectName(QStringLiteral("PCTRL"));
    PCTRL->tabBar()->setStyle(new TightTabStyle(PCTRL->tabBar()));
    PCTRL->setUsesScrollButtons(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(PCTRL);
    const auto addTab = [this](const char* name, const QString& caption) {
        auto* page = new QWidget;
        page->setObjectName(QString::fromLatin1(name));
        PCTRL->addTab(page, caption);
        return page;
    };
    Plik = addTab("Plik", QStringLiteral("Plik"));
    Skora = addTab("Skora", QStringLiteral("Skóra"));
    Rozm = addTab("Rozm", QStringLiteral("Rozmiar"));
    Comps = addTab("Comps", QStringLiteral("Komponenty"));
    Prop = addTab("Prop", QStringLiteral("Właściwości"));
    PCTRL->setCurrentWidget(Plik);

    buildFileTab();
    buildSkinTab();
    buildSizeTab();
    buildComponentsTab();
    buildPictureBand();
    // "Właściwości" waits until it is first shown (ensurePropertiesTab): the
    // most costly tab to make, and hidden at start.
    connect(PCTRL, &QTabWidget::currentChanged, this, [this] {
        if (PCTRL->currentWidget() == Prop) ensurePropertiesTab();
    });
    hookHistory();
    buildCheck();

    FormCreate();
}

TFBox::~TFBox()
{
    // The stack is torn down with this window's children, and announces
    // changes as it goes; nothing of the window, half gone by then, may hear
    // them.
    m_stack->disconnect();
}

void TFBox::FormCreate()
{
    // The chooser starts at the first entry; nothing is selected yet.
    setCurrentComponent(0);
    CheckBox2->setChecked(false);
    // Runs once directly: the box was unchecked already, so no click came.
    CheckBox2Click();
    m_document.emplace();
    LoadStateFromDocument();
    m_started = true;
    // The history starts with the skin as it now shows.
    m_stack->clear();
}

IniStore& TFBox::document()
{
    return *m_document;
}

void TFBox::closeEvent(QCloseEvent* event)
{
    // Closing the settings window closes the preview window, which ends the
    // program; this window itself only hides. The preview stays when the
    // user keeps unsaved changes, and then so does this window.
    if (F.close())
        event->accept();
    else
        event->ignore();
}

} // namespace fabulor
