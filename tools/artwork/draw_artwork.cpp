// Draws every picture Morvane ships (program icon, cursors, skin-preview
// bitmaps, about portrait, tip bulb, desktop menu icons) with QPainter, so the
// artwork can be regenerated from source.  Usage:
//
//     draw_artwork <repo-root> [--preview <dir>]
//
// --preview additionally writes enlarged PNG copies (nearest-neighbour, on a
// checkerboard where the picture is transparent) for looking at them, and a
// sheet with every desktop menu icon on a light and a dark background.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontInfo>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QXmlStreamReader>

#include <cstdio>
#include <functional>
#include <map>
#include <string_view>
#include <vector>

namespace {

// ---------------------------------------------------------------- helpers

using Rows = std::vector<std::string_view>;
using Palette = std::map<char, QColor>;

const QString kUiFont = QStringLiteral("WenQuanYi Micro Hei");

QImage transparentCanvas(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QImage opaqueCanvas(int width, int height, const QColor &background)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(background);
    return image;
}

// Sets one pixel per character; characters missing from the palette stay
// untouched (transparent on a fresh canvas).
void paintPixelArt(QImage &image, const Rows &rows, const Palette &palette, QPoint origin = {})
{
    for (int y = 0; y < int(rows.size()); ++y) {
        for (int x = 0; x < int(rows[y].size()); ++x) {
            const auto colour = palette.find(rows[y][x]);
            if (colour != palette.end())
                image.setPixelColor(origin.x() + x, origin.y() + y, colour->second);
        }
    }
}

// Gives every transparent pixel inside `area` that touches (8-neighbourhood)
// a pixel of colour `of` the colour `halo`, so dark shapes stay visible on
// dark backgrounds.
void addHalo(QImage &image, const QRect &area, const QColor &of, const QColor &halo)
{
    const QImage before = image.copy();
    const QRect bounds = area.intersected(image.rect());
    for (int y = bounds.top(); y <= bounds.bottom(); ++y) {
        for (int x = bounds.left(); x <= bounds.right(); ++x) {
            if (before.pixelColor(x, y).alpha() != 0)
                continue;
            bool touches = false;
            for (int dy = -1; dy <= 1 && !touches; ++dy)
                for (int dx = -1; dx <= 1 && !touches; ++dx)
                    touches = before.rect().contains(x + dx, y + dy) && before.pixelColor(x + dx, y + dy) == of;
            if (touches)
                image.setPixelColor(x, y, halo);
        }
    }
}

QFont uiFont(int pixelSize, bool bold = false)
{
    QFont font(kUiFont);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

// A rounded rectangle with a vertical gradient, a border and a one-pixel
// light inner edge along the top: the raised look of XP-era buttons.
void drawBevelRect(QPainter &p, const QRectF &rect, const QColor &top, const QColor &bottom, const QColor &border,
                   qreal radius = 3.0)
{
    p.save();
    QLinearGradient fill(rect.topLeft(), rect.bottomLeft());
    fill.setColorAt(0.0, top);
    fill.setColorAt(1.0, bottom);
    const QRectF outer = rect.adjusted(0.5, 0.5, -0.5, -0.5);
    p.setPen(QPen(border, 1.0));
    p.setBrush(fill);
    p.drawRoundedRect(outer, radius, radius);
    p.setPen(QPen(QColor(255, 255, 255, 170), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(outer.left() + radius, outer.top() + 1.0), QPointF(outer.right() - radius, outer.top() + 1.0));
    p.restore();
}

// Maps a design drawn in a size x size square onto `box`.
void enterDesignBox(QPainter &p, const QRectF &box, qreal designSize)
{
    p.translate(box.topLeft());
    p.scale(box.width() / designSize, box.height() / designSize);
}

void drawTriangle(QPainter &p, QPointF centre, qreal halfWidth, qreal height, bool pointingUp, const QColor &colour)
{
    const qreal tipY = pointingUp ? centre.y() - height / 2 : centre.y() + height / 2;
    const qreal baseY = pointingUp ? centre.y() + height / 2 : centre.y() - height / 2;
    const QPointF points[] = {{centre.x(), tipY}, {centre.x() - halfWidth, baseY}, {centre.x() + halfWidth, baseY}};
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(points, 3);
    p.restore();
}

// Head and shoulders of a little person; the design unit is one pixel of a
// 20 x 20 icon.
void drawPerson(QPainter &p, QPointF headCentre, qreal headRadius, const QColor &colour)
{
    p.save();
    const QColor edge = colour.darker(150);
    p.setPen(QPen(edge, 0.8));
    QLinearGradient shade(headCentre - QPointF(0, headRadius), headCentre + QPointF(0, headRadius * 4));
    shade.setColorAt(0.0, colour.lighter(140));
    shade.setColorAt(1.0, colour);
    p.setBrush(shade);
    const qreal w = headRadius * 2.1;
    const qreal top = headCentre.y() + headRadius * 1.05;
    QPainterPath shoulders;
    shoulders.moveTo(headCentre.x() - w, top + headRadius * 2.0);
    shoulders.cubicTo(headCentre.x() - w, top, headCentre.x() + w, top, headCentre.x() + w, top + headRadius * 2.0);
    shoulders.closeSubpath();
    p.drawPath(shoulders);
    p.setBrush(QColor(255, 220, 185));
    p.drawEllipse(headCentre, headRadius, headRadius);
    p.restore();
}

// ---------------------------------------------------------------- penguin

const Palette kPenguinPixels = {
    {'K', QColor(24, 26, 32)},  {'W', QColor(250, 250, 250)}, {'O', QColor(245, 150, 30)},
    {'R', QColor(214, 40, 40)}, {'P', QColor(255, 150, 170)},
};

// Hand-tuned 16 x 16 version of the penguin: a vector drawing turns to mush
// at this size.
QImage drawPenguin16()
{
    QImage image = transparentCanvas(16, 16);
    paintPixelArt(image,
                  {
                      "......KKKK......",
                      "....KKKKKKKK....",
                      "...KKWWKKWWKK...",
                      "...KWWKWWKWWK...",
                      "...KWWWOOWWWK...",
                      "...KPWWOOWWPK...",
                      "..KRRRRRRRRRRK..",
                      "..KKRWWWWWWKKK..",
                      ".KKKRWWWWWWKKKK.",
                      ".KKKKWWWWWWKKKK.",
                      "..KKKWWWWWWKKK..",
                      "...KKWWWWWWKK...",
                      "....KKWWWWKK....",
                      ".....KKKKKK.....",
                      "...OOOO..OOOO...",
                      "................",
                  },
                  kPenguinPixels);
    return image;
}

// How the penguin is drawn.  AsShipped is the drawing the program's own 32
// and 48 px icons were made from, kept so that those files stay as they are:
// it fills the head-and-body shape and the face mask by the even-odd rule, so
// where their ovals overlap it leaves see-through lenses (in the neck beside
// the face, and beside the beak) wherever nothing else covers them.  Whole
// fills both shapes as unions.  Detailed is Whole with touches that only show
// from about 64 px up: a sheen on the head, a shaded belly, toes, a fringed
// scarf.
enum class PenguinDrawing { AsShipped, Whole, Detailed };

// The cartoon penguin as a vector drawing in a 48 x 48 design square.
// packaging/icons/*.svg repeat the Detailed drawing by hand: change both together.
void drawPenguin(QPainter &p, const QRectF &box, PenguinDrawing drawing = PenguinDrawing::AsShipped)
{
    const bool detailed = drawing == PenguinDrawing::Detailed;
    const auto solid = [drawing](QPainterPath path) {
        if (drawing != PenguinDrawing::AsShipped)
            path.setFillRule(Qt::WindingFill);
        return path.simplified();
    };
    const QColor black(24, 26, 32), white(252, 252, 252);
    const QColor orange(246, 152, 32), orangeEdge(196, 104, 12);
    const QColor red(218, 42, 42), redEdge(150, 20, 24);

    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    enterDesignBox(p, box, 48.0);

    // feet
    p.setPen(QPen(orangeEdge, 1.0));
    p.setBrush(orange);
    p.drawEllipse(QRectF(11.5, 40.0, 11.5, 6.5));
    p.drawEllipse(QRectF(25.0, 40.0, 11.5, 6.5));
    if (detailed) {
        p.setPen(QPen(orangeEdge, 0.7, Qt::SolidLine, Qt::RoundCap));
        for (const qreal x : {15.2, 19.3, 28.7, 32.8})
            p.drawLine(QPointF(x, 46.0), QPointF(x, 44.3));
    }

    // flippers
    p.setPen(Qt::NoPen);
    p.setBrush(black);
    for (const auto &[x, angle] : {std::pair{8.5, 28.0}, std::pair{39.5, -28.0}}) {
        p.save();
        p.translate(x, 30.0);
        p.rotate(angle);
        p.drawEllipse(QRectF(-3.5, -9.5, 7.0, 19.0));
        p.restore();
    }

    // head and body in one black shape
    QPainterPath body;
    body.addEllipse(QPointF(24.0, 15.0), 12.5, 12.0);
    body.addEllipse(QPointF(24.0, 29.5), 14.5, 14.5);
    p.drawPath(solid(body));
    if (detailed) {
        QPainterPath sheen;
        sheen.moveTo(15.6, 12.5);
        sheen.quadTo(17.0, 6.6, 23.0, 5.3);
        p.setPen(QPen(QColor(255, 255, 255, 80), 1.5, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(sheen);
        p.setPen(Qt::NoPen);
    }

    // belly and face mask
    if (detailed) {
        QRadialGradient shade(QPointF(22.5, 28.0), 14.0);
        shade.setColorAt(0.0, white);
        shade.setColorAt(0.55, white);
        shade.setColorAt(1.0, QColor(214, 222, 236));
        p.setBrush(shade);
    } else {
        p.setBrush(white);
    }
    p.drawEllipse(QPointF(24.0, 32.0), 10.0, 11.0);
    p.setBrush(white);
    QPainterPath face;
    face.addEllipse(QPointF(19.3, 15.5), 6.2, 6.8);
    face.addEllipse(QPointF(28.7, 15.5), 6.2, 6.8);
    face.addEllipse(QPointF(24.0, 19.5), 7.5, 4.5);
    p.drawPath(solid(face));

    // eyes with a sparkle
    p.setBrush(black);
    p.drawEllipse(QPointF(20.6, 15.2), 2.4, 2.9);
    p.drawEllipse(QPointF(27.4, 15.2), 2.4, 2.9);
    p.setBrush(white);
    p.drawEllipse(QPointF(21.3, 14.1), 0.95, 0.95);
    p.drawEllipse(QPointF(28.1, 14.1), 0.95, 0.95);

    // rosy cheeks
    p.setBrush(QColor(255, 130, 155, 150));
    p.drawEllipse(QPointF(16.3, 19.6), 2.2, 1.4);
    p.drawEllipse(QPointF(31.7, 19.6), 2.2, 1.4);

    // beak
    QPainterPath beak;
    beak.moveTo(20.0, 18.6);
    beak.quadTo(24.0, 16.8, 28.0, 18.6);
    beak.quadTo(24.0, 24.0, 20.0, 18.6);
    p.setPen(QPen(orangeEdge, 0.7));
    p.setBrush(orange);
    p.drawPath(beak);

    // scarf: a band round the neck and a tail hanging down on the right
    p.setPen(QPen(redEdge, 0.8));
    p.setBrush(red);
    QPainterPath tail;
    tail.moveTo(29.0, 27.0);
    tail.lineTo(34.5, 27.0);
    tail.lineTo(35.5, 37.0);
    tail.lineTo(30.5, 37.5);
    tail.closeSubpath();
    p.drawPath(tail);
    QPainterPath band;
    band.moveTo(12.0, 23.5);
    band.cubicTo(18.0, 27.5, 30.0, 27.5, 36.0, 23.5);
    band.lineTo(36.3, 27.8);
    band.cubicTo(30.0, 32.0, 18.0, 32.0, 11.7, 27.8);
    band.closeSubpath();
    p.drawPath(band);
    p.setPen(QPen(QColor(255, 255, 255, 200), 1.0));
    p.drawLine(QPointF(31.0, 35.0), QPointF(34.2, 34.7));
    if (detailed) {
        p.drawLine(QPointF(30.7, 32.9), QPointF(33.9, 32.7));
        p.setPen(QPen(red, 0.9, Qt::SolidLine, Qt::RoundCap));
        for (const qreal x : {31.4, 33.0, 34.6})
            p.drawLine(QPointF(x, 37.6), QPointF(x + (x - 33.0) * 0.15, 39.3));
    }
    p.restore();
}

QImage drawPenguinIcon(int size)
{
    if (size == 16)
        return drawPenguin16();
    QImage image = transparentCanvas(size, size);
    QPainter p(&image);
    drawPenguin(p, QRectF(0, 0, size, size));
    return image;
}

// ---------------------------------------------------------------- cursors

const Palette kCursorPixels = {{'X', Qt::black}, {'o', Qt::white}};

// Arrow pointer, tip (hot spot) at (0, 0), with a small penguin silhouette
// by its tail.
QImage drawMainCursor()
{
    QImage image = transparentCanvas(32, 32);
    paintPixelArt(image,
                  {
                      "X",         "XX",        "XoX",        "XooX",        "XoooX",        "XooooX",   "XoooooX",
                      "XooooooX",  "XoooooooX", "XooooooooX", "XoooooooooX", "XooooooXXXXX", "XoooXooX", "XooXXooX",
                      "XoX..XooX", "XX...XooX", "X.....XooX", "......XooX",  ".......XX",
                  },
                  kCursorPixels);
    const QPoint penguinAt(12, 18);
    paintPixelArt(image,
                  {
                      "....XXX....",
                      "...XXXXX...",
                      "..XXoXoXX..",
                      "..XXXXXXX..",
                      "..XXoooXX..",
                      ".XXoooooXX.",
                      "XXXoooooXXX",
                      "X.XoooooX.X",
                      "..XoooooX..",
                      "..XXoooXX..",
                      "...XXXXX...",
                      "..XX...XX..",
                  },
                  kCursorPixels, penguinAt);
    addHalo(image, QRect(penguinAt - QPoint(1, 1), QSize(13, 14)), Qt::black, Qt::white);
    return image;
}

// Hand with the index finger pointing up; hot spot = fingertip (5, 0).
QImage drawPointingHandCursor()
{
    QImage image = transparentCanvas(32, 32);
    paintPixelArt(image,
                  {
                      "....XXX..........", "...XoooX.........", "...XoooX.........", "...XoooX.........",
                      "...XoooX.........", "...XoooXXX.......", "...XoooXooXXX....", "...XoooXooXooX...",
                      "XX.XoooXooXooXX..", "XoXXoooXooXooXoX.", "XooXoooXooXooXoX.", "XooooooooooooooX.",
                      "XooooooooooooooX.", ".XoooooooooooooX.", ".XooooooooooooX..", "..XoooooooooooX..",
                      "..XooooooooooX...", "...XoooooooooX...", "...XoooooooooX...", "...XXXXXXXXXXX...",
                  },
                  kCursorPixels);
    return image;
}

// ---------------------------------------------------------------- small icons
// Each draws into `box` from a 20 x 20 design square.

void drawFriendsIcon(QPainter &p, const QRectF &box)
{
    p.save();
    enterDesignBox(p, box, 20.0);
    drawPerson(p, QPointF(13.0, 5.0), 3.0, QColor(70, 170, 80));
    drawPerson(p, QPointF(7.5, 7.5), 3.4, QColor(50, 120, 220));
    p.restore();
}

void drawGroupsIcon(QPainter &p, const QRectF &box)
{
    p.save();
    enterDesignBox(p, box, 20.0);
    drawPerson(p, QPointF(4.5, 6.5), 2.6, QColor(70, 170, 80));
    drawPerson(p, QPointF(15.5, 6.5), 2.6, QColor(200, 80, 190));
    drawPerson(p, QPointF(10.0, 8.5), 3.0, QColor(240, 140, 30));
    p.restore();
}

void drawMailIcon(QPainter &p, const QRectF &box)
{
    p.save();
    enterDesignBox(p, box, 20.0);
    const QRectF envelope(1.5, 4.5, 17.0, 12.0);
    p.setPen(QPen(QColor(40, 90, 170), 1.0));
    QLinearGradient paper(envelope.topLeft(), envelope.bottomLeft());
    paper.setColorAt(0.0, Qt::white);
    paper.setColorAt(1.0, QColor(215, 228, 245));
    p.setBrush(paper);
    p.drawRect(envelope);
    p.drawLine(envelope.topLeft(), QPointF(10.0, 11.5));
    p.drawLine(envelope.topRight(), QPointF(10.0, 11.5));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(220, 50, 50));
    p.drawEllipse(QPointF(10.0, 11.5), 1.6, 1.6);
    p.restore();
}

void drawFolderIcon(QPainter &p, const QRectF &box)
{
    p.save();
    enterDesignBox(p, box, 20.0);
    const QColor edge(170, 120, 10);
    p.setPen(QPen(edge, 1.0));
    p.setBrush(QColor(230, 175, 40));
    QPainterPath back;
    back.moveTo(1.5, 16.5);
    back.lineTo(1.5, 3.5);
    back.lineTo(7.0, 3.5);
    back.lineTo(8.5, 5.5);
    back.lineTo(17.5, 5.5);
    back.lineTo(17.5, 16.5);
    back.closeSubpath();
    p.drawPath(back);
    QLinearGradient front(0, 8, 0, 17);
    front.setColorAt(0.0, QColor(255, 232, 120));
    front.setColorAt(1.0, QColor(245, 195, 50));
    p.setBrush(front);
    const QPointF flap[] = {{3.5, 8.0}, {19.0, 8.0}, {17.5, 16.5}, {1.5, 16.5}};
    p.drawPolygon(flap, 4);
    p.restore();
}

void drawPhoneIcon(QPainter &p, const QRectF &box)
{
    p.save();
    enterDesignBox(p, box, 20.0);
    QLinearGradient body(5, 0, 15, 0);
    body.setColorAt(0.0, QColor(90, 110, 150));
    body.setColorAt(0.5, QColor(150, 170, 210));
    body.setColorAt(1.0, QColor(70, 90, 130));
    p.setPen(QPen(QColor(40, 50, 80), 1.0));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(5.5, 1.5, 9.0, 17.0), 2.0, 2.0);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(170, 230, 160));
    p.drawRect(QRectF(7.0, 3.5, 6.0, 5.0));
    p.setBrush(Qt::white);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            p.drawEllipse(QPointF(7.6 + col * 2.4, 11.0 + row * 2.4), 0.75, 0.75);
    p.restore();
}

void drawMusicIcon(QPainter &p, const QRectF &box)
{
    p.save();
    enterDesignBox(p, box, 20.0);
    const QColor ink(140, 60, 200);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    // two noteheads, two stems, one beam
    for (const QPointF head : {QPointF(5.5, 15.5), QPointF(14.5, 13.5)}) {
        p.save();
        p.translate(head);
        p.rotate(-20);
        p.drawEllipse(QRectF(-3.0, -2.1, 6.0, 4.2));
        p.restore();
    }
    p.drawRect(QRectF(7.4, 4.0, 1.5, 11.5));
    p.drawRect(QRectF(16.4, 2.0, 1.5, 11.5));
    const QPointF beam[] = {{7.4, 4.0}, {17.9, 2.0}, {17.9, 5.0}, {7.4, 7.0}};
    p.drawPolygon(beam, 4);
    p.restore();
}

void drawGlobeIcon(QPainter &p, const QRectF &box)
{
    p.save();
    enterDesignBox(p, box, 20.0);
    const QPointF centre(10.0, 10.0);
    QRadialGradient sea(QPointF(7.5, 7.0), 10.0);
    sea.setColorAt(0.0, QColor(140, 200, 255));
    sea.setColorAt(1.0, QColor(30, 100, 200));
    p.setPen(QPen(QColor(20, 70, 150), 1.0));
    p.setBrush(sea);
    p.drawEllipse(centre, 8.5, 8.5);
    QPainterPath globe;
    globe.addEllipse(centre, 8.0, 8.0);
    p.setClipPath(globe);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(80, 180, 70));
    QPainterPath land;
    land.moveTo(4.0, 4.0);
    land.cubicTo(8.0, 2.0, 10.0, 5.0, 9.0, 8.0);
    land.cubicTo(8.0, 11.0, 10.0, 12.0, 8.0, 16.0);
    land.cubicTo(5.0, 14.0, 3.0, 10.0, 4.0, 4.0);
    land.moveTo(12.0, 5.0);
    land.cubicTo(16.0, 4.0, 18.0, 8.0, 16.0, 11.0);
    land.cubicTo(14.0, 12.0, 12.0, 9.0, 12.0, 5.0);
    p.drawPath(land);
    p.setPen(QPen(QColor(255, 255, 255, 150), 0.7));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, 3.5, 8.0);
    p.drawLine(QPointF(1.0, 10.0), QPointF(19.0, 10.0));
    p.drawLine(QPointF(10.0, 1.0), QPointF(10.0, 19.0));
    p.restore();
}

void drawGearIcon(QPainter &p, const QRectF &box)
{
    p.save();
    enterDesignBox(p, box, 20.0);
    p.translate(10.0, 10.0);
    QPainterPath gear;
    gear.addEllipse(QPointF(0, 0), 6.5, 6.5);
    for (int tooth = 0; tooth < 8; ++tooth) {
        QPainterPath t;
        t.addRect(QRectF(-1.6, -9.0, 3.2, 4.0));
        gear.addPath(QTransform().rotate(tooth * 45.0).map(t));
    }
    gear = gear.simplified();
    QPainterPath hole;
    hole.addEllipse(QPointF(0, 0), 2.6, 2.6);
    gear = gear.subtracted(hole);
    QLinearGradient metal(-9, -9, 9, 9);
    metal.setColorAt(0.0, QColor(225, 228, 235));
    metal.setColorAt(1.0, QColor(120, 125, 140));
    p.setPen(QPen(QColor(70, 75, 90), 0.9));
    p.setBrush(metal);
    p.drawPath(gear);
    p.restore();
}

void drawSpeechBubbleIcon(QPainter &p, const QRectF &box)
{
    p.save();
    enterDesignBox(p, box, 20.0);
    QPainterPath bubble;
    bubble.addRoundedRect(QRectF(1.5, 2.5, 17.0, 11.5), 4.0, 4.0);
    QPainterPath tail;
    tail.addPolygon(QPolygonF({{5.0, 12.0}, {4.0, 18.0}, {10.0, 13.0}}));
    tail.closeSubpath();
    bubble = bubble.united(tail);
    QLinearGradient fill(0, 2, 0, 18);
    fill.setColorAt(0.0, Qt::white);
    fill.setColorAt(1.0, QColor(190, 225, 255));
    p.setPen(QPen(QColor(40, 100, 190), 1.0));
    p.setBrush(fill);
    p.drawPath(bubble);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 100, 190));
    for (int dot = 0; dot < 3; ++dot)
        p.drawEllipse(QPointF(6.0 + dot * 4.0, 8.3), 1.1, 1.1);
    p.restore();
}

void drawSmileyIcon(QPainter &p, const QRectF &box)
{
    p.save();
    enterDesignBox(p, box, 20.0);
    QRadialGradient face(QPointF(8.0, 7.0), 10.0);
    face.setColorAt(0.0, QColor(255, 245, 150));
    face.setColorAt(1.0, QColor(250, 195, 20));
    p.setPen(QPen(QColor(190, 130, 0), 1.0));
    p.setBrush(face);
    p.drawEllipse(QPointF(10.0, 10.0), 8.5, 8.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 40, 10));
    p.drawEllipse(QPointF(7.0, 8.0), 1.3, 1.8);
    p.drawEllipse(QPointF(13.0, 8.0), 1.3, 1.8);
    p.setPen(QPen(QColor(60, 40, 10), 1.4, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(5.5, 6.5, 9.0, 8.0), -20 * 16, -140 * 16);
    p.restore();
}

void drawMagnifierIcon(QPainter &p, const QRectF &box)
{
    p.save();
    enterDesignBox(p, box, 20.0);
    p.setPen(QPen(QColor(120, 70, 20), 3.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(12.5, 12.5), QPointF(17.5, 17.5));
    QRadialGradient glass(QPointF(6.5, 6.0), 7.0);
    glass.setColorAt(0.0, Qt::white);
    glass.setColorAt(1.0, QColor(160, 210, 250));
    p.setPen(QPen(QColor(70, 80, 100), 1.8));
    p.setBrush(glass);
    p.drawEllipse(QPointF(8.5, 8.5), 5.5, 5.5);
    p.restore();
}

// ---------------------------------------------------------------- skin previews

const QColor kPanelText(20, 40, 90);

QImage drawPreviewTitlebar(const QImage &penguin16)
{
    const int width = 296, height = 56, barHeight = 22;
    QImage image = opaqueCanvas(width, height, QColor(212, 214, 218));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient bar(0, 0, 0, barHeight);
    bar.setColorAt(0.0, QColor(135, 190, 250));
    bar.setColorAt(0.45, QColor(62, 135, 228));
    bar.setColorAt(1.0, QColor(34, 96, 200));
    p.fillRect(QRect(0, 0, width, barHeight), bar);
    p.fillRect(QRect(0, 0, width, 1), QColor(190, 220, 255));
    p.fillRect(QRect(0, barHeight - 1, width, 1), QColor(20, 60, 140));

    p.drawImage(QPoint(4, 3), penguin16);
    p.setFont(uiFont(13, true));
    const QRect titleArea(25, 0, 150, barHeight);
    p.setPen(QColor(10, 40, 110));
    p.drawText(titleArea.translated(1, 1), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("QQ2004"));
    p.setPen(Qt::white);
    p.drawText(titleArea, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("QQ2004"));

    // minimise button
    const QRectF minimise(252, 3, 18, 16), close(273, 3, 18, 16);
    drawBevelRect(p, minimise, QColor(150, 200, 255), QColor(50, 115, 220), QColor(240, 245, 255));
    p.fillRect(QRectF(minimise.left() + 5, minimise.bottom() - 5, 8, 2), Qt::white);
    // close button
    drawBevelRect(p, close, QColor(250, 160, 130), QColor(215, 70, 40), QColor(240, 245, 255));
    p.setPen(QPen(Qt::white, 2.0, Qt::SolidLine, Qt::RoundCap));
    const QPointF c = close.center();
    p.drawLine(c + QPointF(-4, -3.5), c + QPointF(4, 3.5));
    p.drawLine(c + QPointF(-4, 3.5), c + QPointF(4, -3.5));
    return image;
}

QImage drawPreviewIcons()
{
    const int width = 25, height = 223;
    QImage image = opaqueCanvas(width, height, QColor(236, 243, 252));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const std::vector<std::function<void(QPainter &, const QRectF &)>> icons = {
        drawFriendsIcon, drawGroupsIcon, drawMailIcon,  drawFolderIcon,
        drawPhoneIcon,   drawMusicIcon,  drawGlobeIcon, drawGearIcon,
    };
    const qreal slot = qreal(height) / icons.size();
    for (int i = 0; i < int(icons.size()); ++i) {
        const int top = qRound(i * slot + (slot - 20.0) / 2.0);
        icons[i](p, QRectF(2, top, 20, 20));
    }
    return image;
}

// A raised panel button holding a 16 x 16 glyph and a label.
void drawLabelledButton(QPainter &p, const QRect &rect, const std::function<void(QPainter &, const QRectF &)> &glyph,
                        const QString &label)
{
    drawBevelRect(p, rect, QColor(255, 255, 255), QColor(205, 222, 245), QColor(120, 150, 195));
    glyph(p, QRectF(rect.left() + 5, rect.top() + (rect.height() - 16) / 2, 16, 16));
    p.setPen(kPanelText);
    p.setFont(uiFont(12));
    p.drawText(rect.adjusted(24, 0, -4, 0), Qt::AlignCenter, label);
}

QImage drawPreviewButtons(const QImage &penguin16)
{
    const int width = 295, height = 51;
    QImage image = opaqueCanvas(width, height, QColor(228, 238, 251));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient panel(0, 0, 0, height);
    panel.setColorAt(0.0, QColor(240, 246, 253));
    panel.setColorAt(1.0, QColor(214, 229, 248));
    p.fillRect(image.rect(), panel);
    p.fillRect(QRect(0, 25, width, 1), QColor(190, 208, 232));
    p.fillRect(QRect(0, 26, width, 1), QColor(250, 252, 255));

    // top row: text-message button plus three small tool icons
    drawLabelledButton(p, QRect(3, 2, 68, 21), drawSpeechBubbleIcon, QStringLiteral("短信"));
    const std::vector<std::function<void(QPainter &, const QRectF &)>> tools = {drawSmileyIcon, drawMailIcon,
                                                                                drawMusicIcon};
    for (int i = 0; i < int(tools.size()); ++i)
        tools[i](p, QRectF(78 + i * 22, 4, 17, 17));

    // bottom row: menu button at the left, search button at the right
    const auto penguinGlyph = [&penguin16](QPainter &painter, const QRectF &box) {
        painter.drawImage(box.topLeft(), penguin16);
    };
    drawLabelledButton(p, QRect(3, 28, 68, 21), penguinGlyph, QStringLiteral("菜单"));
    drawLabelledButton(p, QRect(224, 28, 68, 21), drawMagnifierIcon, QStringLiteral("查找"));
    return image;
}

QImage drawPreviewScrollbar()
{
    const int width = 14, height = 549;
    QImage image = opaqueCanvas(width, height, QColor(243, 245, 250));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient track(0, 0, width, 0);
    track.setColorAt(0.0, QColor(226, 232, 242));
    track.setColorAt(0.5, QColor(246, 248, 252));
    track.setColorAt(1.0, QColor(230, 236, 245));
    p.fillRect(image.rect(), track);

    const QColor arrowInk(30, 60, 130), light(205, 225, 252), dark(150, 188, 238), edge(110, 140, 200);
    const QRectF up(0, 0, 14, 14), down(0, height - 14, 14, 14), thumb(0, 16, 14, 64);
    drawBevelRect(p, up, light, dark, edge, 2.5);
    drawTriangle(p, up.center(), 4.0, 4.0, true, arrowInk);
    drawBevelRect(p, down, light, dark, edge, 2.5);
    drawTriangle(p, down.center(), 4.0, 4.0, false, arrowInk);

    drawBevelRect(p, thumb, light, dark, edge, 2.5);
    p.setRenderHint(QPainter::Antialiasing, false);
    const int grip = int(thumb.center().y()) - 3;
    for (int i = 0; i < 4; ++i) {
        p.fillRect(QRect(4, grip + i * 2, 6, 1), QColor(250, 252, 255));
        p.fillRect(QRect(4, grip + i * 2 + 1, 6, 1), QColor(110, 145, 205));
    }
    return image;
}

// ---------------------------------------------------------------- about portrait

const QColor kSkin(252, 216, 184), kSkinEdge(196, 146, 116), kHair(62, 40, 28);

void drawPlaidShirt(QPainter &p)
{
    QPainterPath shirt;
    shirt.moveTo(22, 365);
    shirt.cubicTo(30, 305, 90, 286, 150, 280);
    shirt.lineTo(234, 280);
    shirt.cubicTo(294, 286, 354, 305, 362, 365);
    shirt.closeSubpath();

    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(96, 156, 220));
    p.drawPath(shirt);
    p.setClipPath(shirt);
    for (int x = 8; x < 384; x += 30)
        p.fillRect(QRect(x, 270, 11, 100), QColor(30, 80, 160, 110));
    for (int y = 288; y < 365; y += 30)
        p.fillRect(QRect(0, y, 384, 11), QColor(30, 80, 160, 110));
    for (int x = 24; x < 384; x += 30)
        p.fillRect(QRect(x, 270, 2, 100), QColor(235, 240, 250, 150));
    for (int y = 304; y < 365; y += 30)
        p.fillRect(QRect(0, y, 384, 2), QColor(235, 240, 250, 150));
    p.setClipping(false);
    p.setPen(QPen(QColor(40, 70, 120), 3.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(shirt);

    // collar and buttons
    p.setPen(QPen(QColor(120, 130, 150), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(248, 248, 244));
    const QPointF left[] = {{150, 277}, {192, 298}, {162, 324}};
    const QPointF right[] = {{234, 277}, {192, 298}, {222, 324}};
    p.drawPolygon(left, 3);
    p.drawPolygon(right, 3);
    p.setPen(QPen(QColor(40, 70, 120), 2.0));
    p.drawLine(QPointF(192, 300), QPointF(192, 365));
    p.setBrush(QColor(245, 245, 240));
    for (int y = 318; y < 365; y += 24)
        p.drawEllipse(QPointF(198, y), 3.5, 3.5);
    p.restore();
}

void drawHeadAndEars(QPainter &p)
{
    p.save();
    // neck
    p.setPen(QPen(kSkinEdge, 3.0));
    p.setBrush(kSkin.darker(108));
    p.drawRect(QRectF(166, 230, 52, 62));
    // ears
    p.setBrush(kSkin);
    p.drawEllipse(QPointF(106, 178), 17, 25);
    p.drawEllipse(QPointF(278, 178), 17, 25);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(98, 166, 14, 24), 90 * 16, 180 * 16);
    p.drawArc(QRectF(272, 166, 14, 24), 270 * 16, 180 * 16);
    // head
    p.setBrush(kSkin);
    p.drawEllipse(QPointF(192, 160), 88, 112);
    p.restore();
}

void drawBowlHaircut(QPainter &p)
{
    QPainterPath hair;
    hair.moveTo(94, 166);
    hair.cubicTo(78, 12, 306, 12, 290, 166);
    hair.lineTo(274, 166);
    hair.lineTo(270, 122);
    // bangs cut straight across, a little jagged
    const int teeth = 8;
    const qreal left = 114, right = 270, step = (right - left) / teeth;
    for (int i = 0; i < teeth; ++i) {
        const qreal x0 = right - i * step;
        hair.quadTo(x0 - step / 2, 128 + (i % 2 ? 3 : -1), x0 - step, 122);
    }
    hair.lineTo(110, 166);
    hair.closeSubpath();

    p.save();
    QLinearGradient shine(0, 40, 0, 170);
    shine.setColorAt(0.0, kHair.lighter(150));
    shine.setColorAt(1.0, kHair);
    p.setPen(QPen(kHair.darker(150), 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(shine);
    p.drawPath(hair);
    // shine streak and a silly tuft on top
    p.setPen(QPen(QColor(255, 255, 255, 70), 6.0, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(120, 60, 110, 80), 100 * 16, 50 * 16);
    p.setPen(QPen(kHair.darker(150), 5.0, Qt::SolidLine, Qt::RoundCap));
    QPainterPath tuft;
    tuft.moveTo(196, 52);
    tuft.cubicTo(196, 28, 222, 22, 218, 40);
    tuft.cubicTo(215, 50, 204, 44, 208, 36);
    p.drawPath(tuft);
    p.restore();
}

void drawRoundGlassesAndEyes(QPainter &p)
{
    const QPointF leftLens(150, 180), rightLens(234, 180);
    const qreal radius = 35;
    p.save();
    // raised eyebrows peeking out under the fringe
    p.setPen(QPen(kHair, 6.0, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(124, 132, 50, 22), 30 * 16, 120 * 16);
    p.drawArc(QRectF(210, 128, 50, 22), 30 * 16, 120 * 16);

    // eyes, a little cross-eyed
    for (const auto &[centre, pupil] :
         {std::pair{leftLens, QPointF(158, 184)}, std::pair{rightLens, QPointF(224, 182)}}) {
        p.setPen(QPen(QColor(90, 70, 60), 2.0));
        p.setBrush(Qt::white);
        p.drawEllipse(centre + QPointF(0, 3), 17, 13);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(40, 30, 25));
        p.drawEllipse(pupil, 8, 8);
        p.setBrush(Qt::white);
        p.drawEllipse(pupil + QPointF(-2.5, -3), 2.6, 2.6);
    }

    // lenses, frames, bridge and arms
    p.setBrush(QColor(210, 235, 255, 90));
    p.setPen(QPen(QColor(35, 35, 45), 7.0));
    p.drawEllipse(leftLens, radius, radius);
    p.drawEllipse(rightLens, radius, radius);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(182, 168, 20, 18), 20 * 16, 140 * 16);
    p.drawLine(QPointF(115, 176), QPointF(98, 170));
    p.drawLine(QPointF(269, 176), QPointF(286, 170));
    p.setPen(QPen(QColor(255, 255, 255, 190), 4.0, Qt::SolidLine, Qt::RoundCap));
    for (const QPointF centre : {leftLens, rightLens})
        p.drawArc(QRectF(centre - QPointF(25, 25), QSizeF(50, 50)), 110 * 16, 50 * 16);
    p.restore();
}

void drawGoofySmile(QPainter &p)
{
    p.save();
    // nose, cheeks and freckles
    p.setPen(QPen(kSkinEdge, 2.5));
    p.setBrush(kSkin.darker(106));
    p.drawEllipse(QPointF(192, 207), 11, 9);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 130, 140, 90));
    p.drawEllipse(QPointF(140, 222), 14, 9);
    p.drawEllipse(QPointF(244, 222), 14, 9);
    p.setBrush(QColor(170, 110, 70, 150));
    for (const QPointF dot : {QPointF(132, 216), QPointF(142, 220), QPointF(136, 227), QPointF(252, 216),
                              QPointF(242, 220), QPointF(248, 227)})
        p.drawEllipse(dot, 2.0, 2.0);

    // big open grin
    QPainterPath mouth;
    mouth.moveTo(148, 225);
    mouth.quadTo(192, 235, 236, 225);
    mouth.quadTo(226, 254, 192, 255);
    mouth.quadTo(158, 254, 148, 225);
    p.setBrush(QColor(130, 30, 45));
    p.drawPath(mouth);
    p.setClipPath(mouth);
    p.setBrush(QColor(240, 110, 120));
    p.drawEllipse(QPointF(192, 256), 26, 12);
    p.setPen(QPen(QColor(200, 190, 180), 1.5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(140, 215, 104, 17));
    p.drawRoundedRect(QRectF(179, 225, 13, 16), 3, 3);
    p.drawRoundedRect(QRectF(192, 225, 13, 16), 3, 3);
    p.setClipping(false);
    p.setPen(QPen(QColor(100, 30, 30), 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(mouth);
    p.drawArc(QRectF(138, 217, 14, 14), 120 * 16, 120 * 16);
    p.drawArc(QRectF(232, 217, 14, 14), -60 * 16, 120 * 16);
    p.restore();
}

QImage drawAboutPortrait()
{
    const int width = 384, height = 365;
    QImage image = opaqueCanvas(width, height, Qt::white).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    QRadialGradient background(QPointF(192, 150), 260);
    background.setColorAt(0.0, QColor(232, 248, 238));
    background.setColorAt(1.0, QColor(186, 226, 212));
    p.fillRect(image.rect(), background);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 70));
    for (const QPointF dot :
         {QPointF(40, 50), QPointF(330, 70), QPointF(60, 220), QPointF(345, 240), QPointF(300, 20), QPointF(25, 140)})
        p.drawEllipse(dot, 14, 14);

    drawPlaidShirt(p);
    drawHeadAndEars(p);
    drawBowlHaircut(p);
    drawRoundGlassesAndEyes(p);
    drawGoofySmile(p);
    p.end();
    return image.convertToFormat(QImage::Format_RGB32);
}

// ---------------------------------------------------------------- tip bulb

QImage drawTipBulb()
{
    QImage image = transparentCanvas(32, 32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    QPainterPath glass;
    glass.addEllipse(QPointF(16, 11.5), 10, 10);
    glass.addPolygon(QPolygonF({{10.0, 17.0}, {22.0, 17.0}, {20.8, 23.0}, {11.2, 23.0}}));
    glass = glass.simplified();
    QRadialGradient glow(QPointF(13.5, 9.0), 13);
    glow.setColorAt(0.0, QColor(255, 253, 225));
    glow.setColorAt(0.5, QColor(255, 222, 60));
    glow.setColorAt(1.0, QColor(236, 168, 0));
    p.setPen(QPen(QColor(170, 110, 0), 1.0));
    p.setBrush(glow);
    p.drawPath(glass);

    // filament
    p.setPen(QPen(QColor(200, 100, 0), 1.0));
    p.setBrush(Qt::NoBrush);
    QPainterPath filament;
    filament.moveTo(13.5, 22.0);
    filament.lineTo(13.5, 15.0);
    filament.lineTo(15.0, 13.0);
    filament.lineTo(16.5, 15.0);
    filament.lineTo(18.0, 13.0);
    filament.lineTo(18.5, 22.0);
    p.drawPath(filament);

    // highlight
    p.setPen(QPen(QColor(255, 255, 255, 220), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(9.0, 4.5, 10.0, 10.0), 100 * 16, 70 * 16);

    // screw base
    QLinearGradient metal(11, 0, 21, 0);
    metal.setColorAt(0.0, QColor(130, 132, 140));
    metal.setColorAt(0.45, QColor(232, 234, 238));
    metal.setColorAt(1.0, QColor(110, 112, 120));
    p.setPen(QPen(QColor(80, 82, 90), 1.0));
    p.setBrush(metal);
    p.drawRoundedRect(QRectF(10.5, 22.5, 11.0, 6.5), 1.2, 1.2);
    p.setPen(QPen(QColor(95, 97, 105), 1.0));
    p.drawLine(QPointF(11.0, 24.7), QPointF(21.0, 24.7));
    p.drawLine(QPointF(11.0, 26.7), QPointF(21.0, 26.7));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 62, 70));
    p.drawRoundedRect(QRectF(13.5, 28.8, 5.0, 2.4), 1.0, 1.0);
    return image;
}

// ---------------------------------------------------------------- desktop menu icons
// The penguin for the desktop menu entries of the three programs: plain for
// the main program, with a round badge for the music setter (two beamed
// notes) and for the help program (a question mark).  The badge sits in the
// bottom-left corner, where it hides a flipper and a foot rather than the
// scarf's tail.

enum class Badge { None, Music, Help };

struct BadgeColours {
    QColor light, dark, edge;
};

BadgeColours badgeColours(Badge badge)
{
    if (badge == Badge::Music)
        return {QColor(176, 112, 240), QColor(112, 44, 184), QColor(74, 22, 128)};
    return {QColor(92, 164, 248), QColor(22, 92, 196), QColor(12, 56, 128)};
}

// Hand-placed 8 x 8 badges for the 16 px icons, put over the penguin's
// bottom-left corner.
QImage drawBadged16(Badge badge)
{
    QImage image = drawPenguin16();
    if (badge == Badge::None)
        return image;
    const BadgeColours colours = badgeColours(badge);
    const Palette palette = {{'b', colours.dark}, {'w', Qt::white}};
    const Rows music = {
        "..bbbb..", ".bwwwwb.", "bbwbbwbb", "bbwbbwbb", "bwwbwwbb", "bwwbwwbb", ".bbbbbb.", "..bbbb..",
    };
    const Rows help = {
        "..bbbb..", ".bbwwbb.", "bbwbbwbb", "bbbbwbbb", "bbbwbbbb", "bbbbbbbb", ".bbwbbb.", "..bbbb..",
    };
    paintPixelArt(image, badge == Badge::Music ? music : help, palette, QPoint(0, 8));
    return image;
}

// Two beamed quavers, white, centred on the origin of a badge of radius 9.5.
void drawBeamedNotes(QPainter &p)
{
    p.setPen(QPen(Qt::white, 1.3, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(-1.4, -4.6), QPointF(-1.4, 3.6));
    p.drawLine(QPointF(5.0, -5.9), QPointF(5.0, 2.4));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    const QPointF beam[] = {{-2.05, -5.2}, {5.65, -6.5}, {5.65, -4.1}, {-2.05, -2.8}};
    p.drawPolygon(beam, 4);
    for (const QPointF head : {QPointF(-3.3, 3.9), QPointF(3.1, 2.7)}) {
        p.save();
        p.translate(head);
        p.rotate(-22.0);
        p.drawEllipse(QPointF(0.0, 0.0), 2.4, 1.75);
        p.restore();
    }
}

// A white question mark centred on the origin of a badge of radius 9.5.
void drawQuestionMark(QPainter &p)
{
    QPainterPath hook;
    hook.moveTo(-3.0, -2.6);
    hook.cubicTo(-3.0, -5.8, 3.2, -6.0, 3.0, -2.4);
    hook.cubicTo(2.9, -0.6, 0.2, -0.2, 0.2, 2.0);
    p.setPen(QPen(Qt::white, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(hook);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(0.2, 5.2), 1.45, 1.45);
}

// The badge in the 48 x 48 design square of drawPenguin: a white ring that
// keeps it apart from the black body, a shaded disc and the glyph.  Small
// icons need a larger badge for the glyph to read.
void drawBadge(QPainter &p, const QRectF &box, Badge badge, qreal radius)
{
    if (badge == Badge::None)
        return;
    const BadgeColours colours = badgeColours(badge);
    const QPointF centre(radius + 2.0, 46.0 - radius);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    enterDesignBox(p, box, 48.0);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(centre, radius + 1.5, radius + 1.5);
    QLinearGradient fill(centre - QPointF(0.0, radius), centre + QPointF(0.0, radius));
    fill.setColorAt(0.0, colours.light);
    fill.setColorAt(1.0, colours.dark);
    p.setPen(QPen(colours.edge, 0.8));
    p.setBrush(fill);
    p.drawEllipse(centre, radius - 0.4, radius - 0.4);
    p.translate(centre);
    p.scale(radius / 9.5, radius / 9.5);
    if (badge == Badge::Music)
        drawBeamedNotes(p);
    else
        drawQuestionMark(p);
    p.restore();
}

QImage drawDesktopIcon(Badge badge, int size)
{
    if (size == 16)
        return drawBadged16(badge);
    QImage image = transparentCanvas(size, size);
    QPainter p(&image);
    const QRectF box(0, 0, size, size);
    drawPenguin(p, box, size >= 64 ? PenguinDrawing::Detailed : PenguinDrawing::Whole);
    drawBadge(p, box, badge, size >= 64 ? 8.0 : 9.5);
    return image;
}

// The same icons as scalable pictures, for the hicolor theme's "scalable"
// folder.  Written by hand from the Detailed drawing and drawBadge (radius 8)
// above, in the same 48 x 48 design square; Qt's pen defaults (square caps,
// bevel joins) are set on the outer group so the strokes end alike.
const char kPenguinSvg[] = R"svg(  <defs>
    <radialGradient id="belly" gradientUnits="userSpaceOnUse" cx="22.5" cy="28" r="14">
      <stop offset="0" stop-color="#fcfcfc"/>
      <stop offset="0.55" stop-color="#fcfcfc"/>
      <stop offset="1" stop-color="#d6deec"/>
    </radialGradient>
  </defs>
  <g stroke-linecap="square" stroke-linejoin="bevel">
    <g fill="#f69820" stroke="#c4680c" stroke-width="1">
      <ellipse cx="17.25" cy="43.25" rx="5.75" ry="3.25"/>
      <ellipse cx="30.75" cy="43.25" rx="5.75" ry="3.25"/>
    </g>
    <path d="M15.2 46V44.3M19.3 46V44.3M28.7 46V44.3M32.8 46V44.3" fill="none" stroke="#c4680c" stroke-width="0.7" stroke-linecap="round"/>
    <g fill="#181a20">
      <ellipse transform="translate(8.5 30) rotate(28)" rx="3.5" ry="9.5"/>
      <ellipse transform="translate(39.5 30) rotate(-28)" rx="3.5" ry="9.5"/>
      <ellipse cx="24" cy="15" rx="12.5" ry="12"/>
      <circle cx="24" cy="29.5" r="14.5"/>
    </g>
    <path d="M15.6 12.5Q17 6.6 23 5.3" fill="none" stroke="#ffffff" stroke-opacity="0.314" stroke-width="1.5" stroke-linecap="round"/>
    <ellipse cx="24" cy="32" rx="10" ry="11" fill="url(#belly)"/>
    <g fill="#fcfcfc">
      <ellipse cx="19.3" cy="15.5" rx="6.2" ry="6.8"/>
      <ellipse cx="28.7" cy="15.5" rx="6.2" ry="6.8"/>
      <ellipse cx="24" cy="19.5" rx="7.5" ry="4.5"/>
    </g>
    <g fill="#181a20">
      <ellipse cx="20.6" cy="15.2" rx="2.4" ry="2.9"/>
      <ellipse cx="27.4" cy="15.2" rx="2.4" ry="2.9"/>
    </g>
    <g fill="#fcfcfc">
      <circle cx="21.3" cy="14.1" r="0.95"/>
      <circle cx="28.1" cy="14.1" r="0.95"/>
    </g>
    <g fill="#ff829b" fill-opacity="0.588">
      <ellipse cx="16.3" cy="19.6" rx="2.2" ry="1.4"/>
      <ellipse cx="31.7" cy="19.6" rx="2.2" ry="1.4"/>
    </g>
    <path d="M20 18.6Q24 16.8 28 18.6Q24 24 20 18.6" fill="#f69820" stroke="#c4680c" stroke-width="0.7"/>
    <g fill="#da2a2a" stroke="#961418" stroke-width="0.8">
      <path d="M29 27H34.5L35.5 37L30.5 37.5Z"/>
      <path d="M12 23.5C18 27.5 30 27.5 36 23.5L36.3 27.8C30 32 18 32 11.7 27.8Z"/>
    </g>
    <path d="M31 35L34.2 34.7M30.7 32.9L33.9 32.7" fill="none" stroke="#ffffff" stroke-opacity="0.784" stroke-width="1"/>
    <path d="M31.4 37.6L31.16 39.3M33 37.6V39.3M34.6 37.6L34.84 39.3" fill="none" stroke="#da2a2a" stroke-width="0.9" stroke-linecap="round"/>
  </g>
)svg";

// drawBadge with radius 8: centre (10, 38), white ring 9.5, disc 7.6, glyph
// scaled by 8 / 9.5.  %1, %2, %3: light, dark and edge colour.
const char kBadgeSvg[] = R"svg(  <defs>
    <linearGradient id="badge" gradientUnits="userSpaceOnUse" x1="10" y1="30" x2="10" y2="46">
      <stop offset="0" stop-color="%1"/>
      <stop offset="1" stop-color="%2"/>
    </linearGradient>
  </defs>
  <circle cx="10" cy="38" r="9.5" fill="#ffffff"/>
  <circle cx="10" cy="38" r="7.6" fill="url(#badge)" stroke="%3" stroke-width="0.8"/>
  <g transform="translate(10 38) scale(0.842105)" fill="#ffffff">
%4  </g>
)svg";

const char kNotesSvg[] = R"svg(    <path d="M-1.4 -4.6V3.6M5 -5.9V2.4" stroke="#ffffff" stroke-width="1.3"/>
    <polygon points="-2.05,-5.2 5.65,-6.5 5.65,-4.1 -2.05,-2.8"/>
    <ellipse transform="translate(-3.3 3.9) rotate(-22)" rx="2.4" ry="1.75"/>
    <ellipse transform="translate(3.1 2.7) rotate(-22)" rx="2.4" ry="1.75"/>
)svg";

const char kQuestionMarkSvg[] =
    R"svg(    <path d="M-3 -2.6C-3 -5.8 3.2 -6 3 -2.4C2.9 -0.6 0.2 -0.2 0.2 2" fill="none" stroke="#ffffff" stroke-width="2.4" stroke-linecap="round" stroke-linejoin="round"/>
    <circle cx="0.2" cy="5.2" r="1.45"/>
)svg";

QByteArray desktopIconSvg(Badge badge)
{
    QString svg =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"48\" height=\"48\" viewBox=\"0 0 48 48\">\n");
    svg += QLatin1String(kPenguinSvg);
    if (badge != Badge::None) {
        const BadgeColours colours = badgeColours(badge);
        svg += QString::fromLatin1(kBadgeSvg).arg(colours.light.name(), colours.dark.name(), colours.edge.name(),
                                                  QLatin1String(badge == Badge::Music ? kNotesSvg : kQuestionMarkSvg));
    }
    svg += QStringLiteral("</svg>\n");
    return svg.toUtf8();
}

// ---------------------------------------------------------------- output

struct Artwork {
    QString path; // relative to the repository root
    QImage image;
    const char *format; // "PNG" or "BMP"
};

bool isMonochrome(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            const bool ok = c.alpha() == 0 || c == QColor(Qt::black) || c == QColor(Qt::white);
            if (!ok)
                return false;
        }
    return true;
}

QImage checkerboard(QSize size)
{
    QImage board(size, QImage::Format_RGB32);
    QPainter p(&board);
    for (int y = 0; y < size.height(); y += 8)
        for (int x = 0; x < size.width(); x += 8)
            p.fillRect(QRect(x, y, 8, 8), ((x + y) / 8) % 2 ? QColor(200, 200, 200) : QColor(150, 150, 150));
    return board;
}

void writePreview(const Artwork &art, const QString &dir)
{
    const int longest = qMax(art.image.width(), art.image.height());
    const int shortest = qMin(art.image.width(), art.image.height());
    const int factor = longest <= 16 ? 16 : longest <= 48 ? 8 : (longest <= 300 || shortest <= 32) ? 3 : 1;
    const QImage big = art.image.scaled(art.image.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    QImage shown = checkerboard(big.size());
    QPainter(&shown).drawImage(0, 0, big);
    const QString name = QFileInfo(art.path).completeBaseName() + QStringLiteral("-preview.png");
    shown.save(QDir(dir).filePath(name), "PNG");
}

// All desktop icons on one sheet: every size at its own size on a light and
// on a dark menu background, then the 16 and 32 px ones enlarged.
void writeDesktopIconSheet(const std::vector<std::pair<QString, Badge>> &icons, const std::vector<int> &sizes,
                           const QString &dir)
{
    const int gap = 16;
    int panelWidth = gap;
    for (const int size : sizes)
        panelWidth += size + gap;
    const int rowHeight = sizes.back() + 2 * gap;
    const int enlarged = 128;
    QImage sheet(2 * panelWidth, int(icons.size()) * (rowHeight + enlarged + gap), QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter p(&sheet);
    int top = 0;
    for (const auto &[name, badge] : icons) {
        for (const auto &[left, background] :
             {std::pair{0, QColor(236, 236, 236)}, std::pair{panelWidth, QColor(40, 42, 48)}}) {
            p.fillRect(QRect(left, top, panelWidth, rowHeight), background);
            int x = left + gap;
            for (const int size : sizes) {
                p.drawImage(x, top + gap + sizes.back() - size, drawDesktopIcon(badge, size));
                x += size + gap;
            }
        }
        int x = gap;
        for (const int size : {16, 32}) {
            const QImage big =
                drawDesktopIcon(badge, size).scaled(enlarged, enlarged, Qt::IgnoreAspectRatio, Qt::FastTransformation);
            QImage shown = checkerboard(big.size());
            QPainter(&shown).drawImage(0, 0, big);
            p.drawImage(x, top + rowHeight + gap / 2, shown);
            x += enlarged + gap;
        }
        p.setPen(Qt::black);
        p.setFont(uiFont(14));
        p.drawText(QPoint(x, top + rowHeight + gap + 14), name);
        top += rowHeight + enlarged + gap;
    }
    p.end();
    sheet.save(QDir(dir).filePath(QStringLiteral("desktop-icons-sheet.png")), "PNG");
}

bool writeArtwork(const Artwork &art, const QDir &root)
{
    const QString target = root.filePath(art.path);
    QDir().mkpath(QFileInfo(target).absolutePath());
    const bool bmp = qstrcmp(art.format, "BMP") == 0;
    const QImage toSave = bmp ? art.image.convertToFormat(QImage::Format_RGB888) : art.image;
    if (!toSave.save(target, art.format)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(target));
        return false;
    }
    const QImage reread(target);
    if (reread.size() != art.image.size()) {
        std::fprintf(stderr, "%s: read back with wrong size\n", qPrintable(target));
        return false;
    }
    std::printf("wrote %-45s %3dx%-3d %s\n", qPrintable(art.path), reread.width(), reread.height(), art.format);
    return true;
}

// Writes a text file (the scalable icons) after checking that it is
// well-formed XML, so a slip in the hand-written markup stops the run.
bool writeSvg(const QString &path, const QByteArray &text, const QDir &root)
{
    QXmlStreamReader xml(text);
    while (!xml.atEnd())
        xml.readNext();
    if (xml.hasError()) {
        std::fprintf(stderr, "%s: not well-formed at line %lld: %s\n", qPrintable(path), xml.lineNumber(),
                     qPrintable(xml.errorString()));
        return false;
    }
    const QString target = root.filePath(path);
    QDir().mkpath(QFileInfo(target).absolutePath());
    QFile file(target);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(target));
        return false;
    }
    std::printf("wrote %-45s scalable SVG\n", qPrintable(path));
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QStringList args = app.arguments();
    QString rootPath, previewDir;
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--preview") && i + 1 < args.size())
            previewDir = args[++i];
        else if (rootPath.isEmpty())
            rootPath = args[i];
    }
    if (rootPath.isEmpty()) {
        std::fprintf(stderr, "usage: draw_artwork <repo-root> [--preview <dir>]\n");
        return 2;
    }
    if (QFontInfo(uiFont(12)).family() != kUiFont)
        std::fprintf(stderr, "warning: font \"%s\" not found, labels use \"%s\"\n", qPrintable(kUiFont),
                     qPrintable(QFontInfo(uiFont(12)).family()));

    const QImage penguin16 = drawPenguinIcon(16);
    std::vector<Artwork> artworks = {
        {QStringLiteral("platform/widgets/resources/penguin-16.png"), penguin16, "PNG"},
        {QStringLiteral("platform/widgets/resources/penguin-32.png"), drawPenguinIcon(32), "PNG"},
        {QStringLiteral("platform/widgets/resources/penguin-48.png"), drawPenguinIcon(48), "PNG"},
        {QStringLiteral("platform/widgets/resources/main-cursor.png"), drawMainCursor(), "PNG"},
        {QStringLiteral("platform/widgets/resources/pointing-hand.png"), drawPointingHandCursor(), "PNG"},
        {QStringLiteral("skinmaker/authoring/resources/preview-titlebar.bmp"), drawPreviewTitlebar(penguin16), "BMP"},
        {QStringLiteral("skinmaker/authoring/resources/preview-icons.bmp"), drawPreviewIcons(), "BMP"},
        {QStringLiteral("skinmaker/authoring/resources/preview-buttons.bmp"), drawPreviewButtons(penguin16), "BMP"},
        {QStringLiteral("skinmaker/authoring/resources/preview-scrollbar.bmp"), drawPreviewScrollbar(), "BMP"},
        {QStringLiteral("skinmaker/shell/resources/about-portrait.png"), drawAboutPortrait(), "PNG"},
        {QStringLiteral("skinmaker/shell/resources/tip-bulb.png"), drawTipBulb(), "PNG"},
    };
    // Icons of the desktop menu entries, as the hicolor icon theme wants them.
    const std::vector<std::pair<QString, Badge>> desktopIcons = {
        {QStringLiteral("morvane"), Badge::None},
        {QStringLiteral("morvane-music"), Badge::Music},
        {QStringLiteral("morvane-help"), Badge::Help},
    };
    const std::vector<int> desktopIconSizes = {16, 32, 48, 64, 128, 256};
    for (const auto &[name, badge] : desktopIcons)
        for (const int size : desktopIconSizes)
            artworks.push_back(
                {QStringLiteral("packaging/icons/%1-%2.png").arg(name).arg(size), drawDesktopIcon(badge, size), "PNG"});

    for (const QString cursor : {QStringLiteral("main-cursor"), QStringLiteral("pointing-hand")})
        for (const Artwork &art : artworks)
            if (art.path.contains(cursor) && !isMonochrome(art.image)) {
                std::fprintf(stderr, "%s is not monochrome\n", qPrintable(art.path));
                return 1;
            }

    const QDir root(rootPath);
    bool ok = true;
    for (const Artwork &art : artworks) {
        ok = writeArtwork(art, root) && ok;
        if (!previewDir.isEmpty()) {
            QDir().mkpath(previewDir);
            writePreview(art, previewDir);
        }
    }
    for (const auto &[name, badge] : desktopIcons)
        ok = writeSvg(QStringLiteral("packaging/icons/%1.svg").arg(name), desktopIconSvg(badge), root) && ok;
    if (!previewDir.isEmpty())
        writeDesktopIconSheet(desktopIcons, desktopIconSizes, previewDir);
    return ok ? 0 : 1;
}
