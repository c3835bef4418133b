#include "Drops.h"

#include "editor/Catalogue.h"
#include "editor/SettingsWindow.h"
#include "editor/Steps.h"
#include "preview/PreviewControls.h"
#include "preview/PreviewWindow.h"
#include "widgets/FileNameEdit.h"
#include "widgets/FileNames.h"
#include "widgets/PictureFilters.h"

#include <QApplication>
#include <QCheckBox>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QRegularExpression>
#include <QTabBar>
#include <QTabWidget>
#include <QUrl>

namespace fabulor {
namespace {

// The one local file a drag carries; empty for anything else (text, links,
// several files), which the windows' own widgets handle as before.
QString SingleLocalFile(const QMimeData* data)
{
    if (!data || !data->hasUrls()) return {};
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile()) return {};
    return LocalFileName(urls.front());
}

// Whether a file dialog with these filters lists the file: a drop takes
// what the matching dialog offers, no more.
bool Offers(const FileDialogOptions& options, const QString& fileName)
{
    // As shown: a regular expression matches no name holding a byte that is
    // no UTF-8 (a lone surrogate here) at all.
    const QString name = FileNameShown(QFileInfo(fileName).fileName());
    for (const FileDialogOptions::Filter& filter : options.filters)
        for (const QString& pattern : filter.patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QRegularExpression wildcard(QRegularExpression::wildcardToRegularExpression(pattern),
                                              QRegularExpression::CaseInsensitiveOption);
            if (wildcard.match(name).hasMatch()) return true;
        }
    return false;
}

} // namespace

SkinDrops::SkinDrops(TFBox& box, TF& preview) : QObject(&box), m_box(box), m_preview(preview)
{
    m_box.setAcceptDrops(true);
    m_preview.setAcceptDrops(true);
    // Drops land on whatever widget lies under the pointer, line edits
    // included, which would take a file as text: the decision is made here,
    // for the whole window, before any of them sees it.
    qApp->installEventFilter(this);
}

int SkinDrops::buttonAt(QPoint at) const
{
    // The innermost component under the pointer, found the way a press
    // finds it; only buttons take pictures.
    for (const QWidget* hit = m_preview.childAt(at); hit && hit != &m_preview; hit = hit->parentWidget())
        for (int index = 0; index < CatalogueSize; ++index)
            for (const auto pressed : Catalogue()[std::size_t(index)].binding->pressed)
                if (pressed && pressed(m_preview) == hit) return ButtonForIndex(index) ? index : -1;
    return -1;
}

bool SkinDrops::onSkinTab(QPoint at) const
{
    const QWidget* hit = m_box.childAt(at);
    if (!hit) return false;
    // Not over the skin picture's own field, where a bitmap is meant for
    // that picture, not the mask.
    if (hit == m_box.Skin || m_box.Skin->isAncestorOf(hit)) return false;
    if (hit == m_box.Skora || m_box.Skora->isAncestorOf(hit)) return true;
    const QTabBar* tabs = m_box.PCTRL->tabBar();
    return hit == tabs && tabs->tabAt(tabs->mapFrom(&m_box, at)) == m_box.PCTRL->indexOf(m_box.Skora);
}

bool SkinDrops::takesSomewhere(const QWidget* window, const QString& file) const
{
    // Folders, pipes and devices are refused before anything reads them.
    if (!FileNameIsRegularFile(file)) return false;
    if (Offers(m_box.Op.options(), file)) return true;
    if (window == &m_preview) return Offers(PictureFileDialogOptions(), file);
    return window == &m_box && Offers(MaskFileDialogOptions(), file);
}

SkinDrops::Drop SkinDrops::dropAt(const QWidget* window, QPoint at, const QMimeData* data,
                                  Qt::KeyboardModifiers modifiers) const
{
    const QString file = SingleLocalFile(data);
    if (!takesSomewhere(window, file)) return {};
    if (Offers(m_box.Op.options(), file)) return {Target::Skin, -1, file};
    if (window == &m_preview) {
        const int button = buttonAt(at);
        if (button < 0) return {};
        if (!modifiers.testFlag(Qt::ShiftModifier)) return {Target::MouseOut, button, file};
        // The warning sign has no mouse-over picture.
        if (!Catalogue()[std::size_t(button)].schema->has(MouseOverGroup)) return {};
        return {Target::MouseOver, button, file};
    }
    if (onSkinTab(at)) return {Target::Mask, -1, file};
    return {};
}

bool SkinDrops::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) return false;
    if (!watched->isWidgetType()) return false;
    auto* widget = static_cast<QWidget*>(watched);
    QWidget* window = widget->window();
    if (window != &m_preview && window != &m_box) return false;
    auto* drag = static_cast<QDropEvent*>(event);
    const QString file = SingleLocalFile(drag->mimeData());
    if (file.isEmpty()) return false;

    // The file is only read, never moved away from its folder.
    bool takes = drag->possibleActions().testFlag(Qt::CopyAction);
    Drop drop;
    if (type == QEvent::DragEnter) {
        // Qt sends the moves and the drop only to a widget that took the
        // enter: a file this window takes anywhere is taken on entering, and
        // each move then says whether it may be dropped where it is.
        takes = takes && takesSomewhere(window, file);
    } else {
        drop = dropAt(window, widget->mapTo(window, drag->position().toPoint()), drag->mimeData(),
                      drag->modifiers());
        takes = takes && drop.target != Target::None;
    }
    if (!takes) {
        drag->ignore();
        return true;
    }
    drag->setDropAction(Qt::CopyAction);
    drag->accept();
    if (type == QEvent::Drop) perform(drop);
    return true;
}

void SkinDrops::perform(const Drop& drop)
{
    // Run from the event loop once the drop is over: the source waits for
    // the drop to finish, and loading may first ask about unsaved changes.
    // A failure then reaches the error box as any handler's does.
    QMetaObject::invokeMethod(
        this,
        [this, drop] {
            switch (drop.target) {
            case Target::Skin:
                m_box.fileGuard().OpenSkinFile(drop.fileName);
                break;
            case Target::Mask:
                dropMask(drop.fileName);
                break;
            case Target::MouseOut:
            case Target::MouseOver:
                dropButtonPicture(drop.component, drop.fileName, drop.target == Target::MouseOver);
                break;
            case Target::None:
                break;
            }
        },
        Qt::QueuedConnection);
}

void SkinDrops::dropButtonPicture(int component, const QString& fileName, bool mouseOver)
{
    // Selected as a press selects it, then chosen as in the picture band's
    // dialog, which makes it that band's step.
    if (m_preview.SelectComponent) m_preview.SelectComponent(component);
    FileNameEdit* edit = mouseOver ? m_box.MP2 : m_box.MP1;
    edit->setText(fileName);
    emit edit->afterDialog(fileName);
}

void SkinDrops::dropMask(const QString& fileName)
{
    m_box.PCTRL->setCurrentWidget(m_box.Skora);
    if (m_box.CheckBox2->isChecked()) {
        m_box.Maska->setText(fileName);
        emit m_box.Maska->afterDialog(fileName);
        return;
    }
    // A mask shapes the window only with "Użyj skóry" on, and the mask field
    // is disabled while it is off: the drop switches it on and chooses the
    // mask, as the user would, in one step. The field is emptied while the
    // box is switched on, so no mask named there before is read on the way.
    m_box.history().record(QStringLiteral("maska"), StepParts::mask(m_box.Maska), nullptr, [this, fileName] {
        m_box.Maska->setText(QString());
        m_box.CheckBox2->setChecked(true);
        m_box.Maska->setText(fileName);
        emit m_box.Maska->afterDialog(fileName);
    });
}

} // namespace fabulor
