#include "editor/MaskMakerDialog.h"

#include "widgets/Accessibility.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace fabulor {

namespace {

// Hidden pixels are drawn as the checkerboard image editors use for "see-through".
constexpr int CheckerSquare = 8;
constexpr QRgb CheckerLight = 0xFFFFFFFFu;
constexpr QRgb CheckerDark = 0xFFC8C8D2u;

// A tolerance that forgives the noise of a JPEG picture's flat areas.
constexpr int StartTolerance = 16;

QString ColourName(QRgb colour)
{
    return QColor(colour).name(QColor::HexRgb).toUpper();
}

// The picture with every hidden pixel checkered.
QImage Checkered(const QImage& view, const QImage& mask)
{
    QImage out = view.copy();
    if (mask.isNull()) return out;
    for (int y = 0; y < out.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        const uchar* bits = mask.constScanLine(y);
        for (int x = 0; x < out.width(); ++x)
            if ((bits[x >> 3] & (0x80u >> (x & 7))) == 0)
                row[x] = ((x / CheckerSquare + y / CheckerSquare) & 1) != 0 ? CheckerDark : CheckerLight;
    }
    return out;
}

} // namespace

QString MaskVerdictText(MaskVerdict verdict)
{
    switch (verdict) {
    case MaskVerdict::Usable:
        return {};
    case MaskVerdict::EmptyPicture:
        return QStringLiteral("Obraz skóry jest pusty.");
    case MaskVerdict::TooLarge:
        return QStringLiteral("Obraz ma więcej pikseli, niż może mieć maska.");
    case MaskVerdict::TopLeftShown:
        return QStringLiteral(
            "Lewy górny piksel obrazu musi być ukryty: okno uznaje jego kolor za niewidoczny, "
            "więc ta maska pokazałaby odwrotny kształt. Wybierz kolor tła albo zwiększ "
            "tolerancję.");
    case MaskVerdict::AllHidden:
        return QStringLiteral("Cały obraz byłby ukryty: maska jednego koloru nie nadaje oknu kształtu. "
                              "Zmniejsz tolerancję.");
    }
    return {};
}

MaskPictureView::MaskPictureView(QWidget* parent) : QWidget(parent)
{
    setCursor(Qt::CrossCursor);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void MaskPictureView::setImage(QImage image)
{
    const bool resized = image.size() != m_image.size();
    m_image = std::move(image);
    if (resized) {
        setFixedSize(m_image.size());
        updateGeometry();
    }
    update();
}

QSize MaskPictureView::sizeHint() const
{
    return m_image.size();
}

void MaskPictureView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, m_image);
}

void MaskPictureView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPoint at = event->position().toPoint();
    if (rect().contains(at)) emit picked(at);
}

MaskMakerDialog::MaskMakerDialog(QImage picture, QWidget* parent)
    : QDialog(parent), m_picture(std::move(picture))
{
    setObjectName(QStringLiteral("MaskMaker"));
    setWindowTitle(QStringLiteral("Utwórz maskę z obrazu"));

    // Sampled, not smoothed: every pixel shown is a pixel of the picture, so
    // the shown shape is the real one at those points.
    QImage view = m_picture;
    if (view.width() > MaxViewSize.width() || view.height() > MaxViewSize.height())
        view = view.scaled(MaxViewSize, Qt::KeepAspectRatio, Qt::FastTransformation);
    m_view = view.convertToFormat(QImage::Format_RGB32);

    auto* hint = new QLabel(QStringLiteral("Kliknij na obrazie kolor, który ma być niewidoczny (czarny w "
                                           "masce). Ukryta część jest w kratkę."),
                            this);
    hint->setWordWrap(true);

    View = new MaskPictureView(this);
    View->setObjectName(QStringLiteral("View"));
    SetAccessibleCaption(View, QStringLiteral("Obraz skóry: kliknięcie wybiera kolor niewidoczny"));
    connect(View, &MaskPictureView::picked, this, &MaskMakerDialog::pickAt);

    auto* keyLabel = new QLabel(QStringLiteral("Kolor:"), this);
    KeyEdit = new QLineEdit(this);
    KeyEdit->setObjectName(QStringLiteral("KeyEdit"));
    KeyEdit->setToolTip(QStringLiteral("#RRGGBB, $00BBGGRR albo nazwa (clBlack)"));
    KeyEdit->setMaximumWidth(110);
    CaptionWithLabel(keyLabel, KeyEdit);
    connect(KeyEdit, &QLineEdit::textEdited, this, &MaskMakerDialog::keyTyped);
    KeySwatch = new QLabel(this);
    KeySwatch->setFixedSize(22, 22);
    KeySwatch->setFrameStyle(QFrame::Box | QFrame::Plain);
    KeySwatch->setAutoFillBackground(true);

    auto* toleranceLabel = new QLabel(QStringLiteral("Tolerancja:"), this);
    ToleranceSlider = new QSlider(Qt::Horizontal, this);
    ToleranceSlider->setObjectName(QStringLiteral("ToleranceSlider"));
    ToleranceSlider->setRange(0, MaxMaskTolerance);
    ToleranceSpin = new QSpinBox(this);
    ToleranceSpin->setObjectName(QStringLiteral("ToleranceSpin"));
    ToleranceSpin->setRange(0, MaxMaskTolerance);
    CaptionWithLabel(toleranceLabel, ToleranceSpin);
    SetAccessibleCaption(ToleranceSlider, QStringLiteral("Tolerancja"));
    ToleranceSlider->setToolTip(
        QStringLiteral("Jak daleko od koloru (na każdym kanale) piksel jest jeszcze ukryty"));
    connect(ToleranceSlider, &QSlider::valueChanged, this, &MaskMakerDialog::setTolerance);
    connect(ToleranceSpin, &QSpinBox::valueChanged, this, &MaskMakerDialog::setTolerance);

    Status = new QLabel(this);
    Status->setObjectName(QStringLiteral("Status"));
    Status->setWordWrap(true);
    Status->setMinimumHeight(Status->fontMetrics().height() * 2);

    auto* buttons = new QDialogButtonBox(this);
    SaveButton = buttons->addButton(QStringLiteral("Zapisz maskę…"), QDialogButtonBox::AcceptRole);
    SaveButton->setObjectName(QStringLiteral("SaveButton"));
    CancelButton = buttons->addButton(QStringLiteral("Anuluj"), QDialogButtonBox::RejectRole);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    // Enter in the colour field finishes the colour, not the dialog.
    SaveButton->setAutoDefault(false);
    CancelButton->setAutoDefault(false);
    // The dialog closes only once the mask is saved, which the settings window does.
    connect(SaveButton, &QPushButton::clicked, this, &MaskMakerDialog::saveRequested);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto* controls = new QHBoxLayout;
    controls->addWidget(keyLabel);
    controls->addWidget(KeyEdit);
    controls->addWidget(KeySwatch);
    controls->addSpacing(16);
    controls->addWidget(toleranceLabel);
    controls->addWidget(ToleranceSlider, 1);
    controls->addWidget(ToleranceSpin);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(hint);
    layout->addWidget(View, 0, Qt::AlignCenter);
    layout->addLayout(controls);
    layout->addWidget(Status);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // The top-left pixel must be hidden, so its colour is where to start.
    m_key.tolerance = StartTolerance;
    {
        const QSignalBlocker quietSlider(ToleranceSlider);
        const QSignalBlocker quietSpin(ToleranceSpin);
        ToleranceSlider->setValue(StartTolerance);
        ToleranceSpin->setValue(StartTolerance);
    }
    setKeyColour(m_picture.isNull() ? QRgb(0xFF000000u) : m_picture.pixel(0, 0));
}

void MaskMakerDialog::setKeyColour(QRgb colour)
{
    m_key.colour = colour | 0xFF000000u;
    m_keyValid = true;
    KeyEdit->setText(ColourName(m_key.colour));
    refresh();
}

void MaskMakerDialog::pickAt(QPoint at)
{
    if (m_picture.isNull() || m_view.isNull()) return;
    // The pixel of the whole picture under the point of the view.
    const int x = std::clamp(int(std::floor((at.x() + 0.5) * m_picture.width() / m_view.width())), 0,
                             m_picture.width() - 1);
    const int y = std::clamp(int(std::floor((at.y() + 0.5) * m_picture.height() / m_view.height())), 0,
                             m_picture.height() - 1);
    setKeyColour(m_picture.pixel(x, y));
}

void MaskMakerDialog::keyTyped(const QString& text)
{
    const std::optional<QRgb> colour = ParseKeyColour(text.trimmed().toStdString());
    m_keyValid = colour.has_value();
    if (colour) m_key.colour = *colour;
    refresh();
}

void MaskMakerDialog::setTolerance(int tolerance)
{
    if (tolerance == m_key.tolerance) return;
    m_key.tolerance = tolerance;
    // The slider and the box show the same number.
    const QSignalBlocker quietSlider(ToleranceSlider);
    const QSignalBlocker quietSpin(ToleranceSpin);
    ToleranceSlider->setValue(tolerance);
    ToleranceSpin->setValue(tolerance);
    refresh();
}

void MaskMakerDialog::refresh()
{
    QPalette swatch = KeySwatch->palette();
    swatch.setColor(QPalette::Window, m_keyValid ? QColor(m_key.colour) : palette().color(QPalette::Window));
    KeySwatch->setPalette(swatch);
    if (!m_keyValid) {
        Status->setStyleSheet(QStringLiteral("color: #B00000;"));
        Status->setText(
            QStringLiteral("To nie jest kolor. Wpisz #RRGGBB, $00BBGGRR albo nazwę koloru (clBlack)."));
        SaveButton->setEnabled(false);
        return;
    }
    m_shown = MakeMask(m_view, m_key);
    View->setImage(Checkered(m_view, m_shown.image));
    MaskVerdict verdict = m_shown.verdict;
    // The shown copy may be scaled down; the corner that decides is the
    // whole picture's.
    if (!m_picture.isNull() && verdict != MaskVerdict::EmptyPicture && verdict != MaskVerdict::TooLarge)
        if (!HiddenByKey(m_picture.pixel(0, 0), m_key)) verdict = MaskVerdict::TopLeftShown;
    showVerdict(verdict);
}

void MaskMakerDialog::showVerdict(MaskVerdict verdict)
{
    SaveButton->setEnabled(verdict == MaskVerdict::Usable);
    if (verdict != MaskVerdict::Usable) {
        Status->setStyleSheet(QStringLiteral("color: #B00000;"));
        Status->setText(MaskVerdictText(verdict));
        return;
    }
    Status->setStyleSheet(QString());
    const double all = double(m_view.width()) * double(m_view.height());
    const double percent = all > 0 ? 100.0 * double(m_shown.hidden) / all : 0.0;
    Status->setText(
        QStringLiteral("Ukryta część obrazu: %1%.").arg(QLocale(QLocale::Polish).toString(percent, 'f', 1)));
}

} // namespace fabulor
