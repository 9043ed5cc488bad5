// The shared touch button: faces and pictures in both states, the circle's hit
// area, the picture beside the caption, and the focus it never takes.
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include "BlendedBitBtn.h"
#include "Pixels.h"

namespace {

QPixmap Azul(int size)
{
    QPixmap p(size, size);
    p.fill(QColor(0, 0, 255));
    return p;
}

int Pixels(const QImage& image, const QRect& area, const QColor& colour)
{
    return ContaPixels(image, area, [&colour](const QColor& c) { return c == colour; });
}

int Azuis(const QImage& image, const QRect& area)
{
    return Pixels(image, area, QColor(0, 0, 255));
}

TEST(FrameTestButtons, FaceIsItsColourAndLightGrayWhenDisabled)
{
    TBlendedBitBtn b;
    b.resize(120, 50);
    b.SetColor(QColor(128, 128, 128));
    b.setText(QStringLiteral("&Cancelar Produto"));
    EXPECT_EQ(b.grab().toImage().pixelColor(4, 25), QColor(128, 128, 128));
    b.SetGlyph(Azul(20));
    QPixmap red(20, 20);
    red.fill(Qt::red);
    b.SetDisabledGlyph(red);
    b.setEnabled(false);
    const QImage image = b.grab().toImage();
    EXPECT_EQ(image.pixelColor(4, 25), QColor(204, 204, 204));
    // The disabled picture replaces the normal one.
    EXPECT_EQ(Azuis(image, image.rect()), 0);
    EXPECT_EQ(Pixels(image, image.rect(), Qt::red), 400);
}

TEST(FrameTestButtons, PictureStandsRightOrLeftOfTheCaption)
{
    TBlendedBitBtn b;
    b.resize(120, 53);
    b.setText(QStringLiteral("Exibir &Prod. Cancelados"));
    b.SetGlyph(Azul(20));
    b.SetGlyphPosition(TBlendedBitBtn::TGlyphPosition::Right);
    QImage image = b.grab().toImage();
    EXPECT_EQ(Azuis(image, QRect(0, 0, 60, 53)), 0);
    EXPECT_GT(Azuis(image, QRect(60, 0, 60, 53)), 300);

    b.SetGlyphPosition(TBlendedBitBtn::TGlyphPosition::Left);
    image = b.grab().toImage();
    EXPECT_GT(Azuis(image, QRect(0, 0, 60, 53)), 300);
    EXPECT_EQ(Azuis(image, QRect(60, 0, 60, 53)), 0);
}

TEST(FrameTestButtons, CircleAnswersOnlyInsideItsCircle)
{
    TBlendedBitBtn b;
    b.SetShape(TBlendedBitBtn::TButtonShape::Circle);
    b.resize(49, 46);
    b.show();
    QSignalSpy clicks(&b, &QAbstractButton::clicked);
    QTest::mouseClick(&b, Qt::LeftButton, {}, QPoint(1, 1));
    QTest::mouseClick(&b, Qt::LeftButton, {}, QPoint(47, 44));
    EXPECT_EQ(clicks.count(), 0);
    QTest::mouseClick(&b, Qt::LeftButton, {}, QPoint(24, 23));
    EXPECT_EQ(clicks.count(), 1);
}

TEST(FrameTestButtons, ATapLeavesTheFocusWhereItWas)
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* edit = new QLineEdit;
    auto* button = new TBlendedBitBtn;
    button->setText(QStringLiteral("OK"));
    button->setMinimumSize(80, 40);
    layout->addWidget(edit);
    layout->addWidget(button);
    window.show();
    QCoreApplication::processEvents();
    edit->setFocus();
    QSignalSpy clicks(button, &QAbstractButton::clicked);
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_TRUE(edit->hasFocus());
}

} // namespace
