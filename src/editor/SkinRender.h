#pragma once
// Pictures of the skin as the preview draws it, for skintool render and for
// anything in the editor that wants one: the window's content only, without
// the frame and without anything the editor lays over the skin.

#include <QImage>

class QTemporaryFile;

namespace fabulor {

class HoverPreview;
class TF;

// The preview window's content at the window's size. A shaped window's is
// premultiplied ARGB, its pixels outside the skin's shape transparent, even
// where the shape is too intricate for the window itself to take; an
// unshaped window's is opaque RGB. Only the skin
// picture and the components are drawn: every other widget on the window,
// on the page control or on its pages (the selection frame, snap guides, any
// mark the editor adds) is hidden while the picture is taken.
QImage RenderSkin(TF& preview);

// Whether the component of a catalogue index has a picture of its own for
// the pointer being over it (the buttons, but for the warning sign).
bool HasMouseOverPicture(int index);

// RenderSkin with the button of index drawn as it looks under the pointer
// (its mouse-over picture, as hover shows it), its page of the page control
// shown. The preview is left as it was.
QImage RenderSkinHovered(TF& preview, HoverPreview& hover, int index);

// Before the application object exists, for a program that draws skins
// without a display: makes Qt's offscreen platform the window system, set up
// to put no frame around windows (it fakes one by default), so an unshaped
// window's content has the size its skin gives the window. Does nothing when
// QT_QPA_PLATFORM names another platform, or offscreen with options of its
// own. config holds the platform's settings until the application has read
// them.
void UseHeadlessPlatform(QTemporaryFile& config);

} // namespace fabulor
