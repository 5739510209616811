// Draws dravel's bitmaps into the folder given: the 18 piece bitmaps (48 x 48, 16 greys; for
// each piece a mask, black where the piece is, and a White and a Black image, black around the
// piece), the monochrome picture of the board's coordinates for the move-list dialog, and the
// program's icon for the desktop (dravel.png: the White knight on a transparent ground).
// The build runs it, so the pictures are kept as drawing code rather than as binary files.
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kGroesse = 48;

// A BMP file of 1 or 4 bits per pixel, bottom-up, with a grey palette of 2 or 16 entries.
bool Bmp_schreiben(const QString& pfad, const QImage& grau, int bits) {
    const int farben = 1 << bits;
    const int breite = grau.width(), hoehe = grau.height();
    const int zeilenbytes = ((breite * bits + 31) / 32) * 4;
    const int kopf = 14 + 40 + farben * 4;
    QByteArray daten(kopf + zeilenbytes * hoehe, '\0');
    auto setze16 = [&](int stelle, uint16_t wert) {
        daten[stelle] = char(wert & 0xFF);
        daten[stelle + 1] = char(wert >> 8);
    };
    auto setze32 = [&](int stelle, uint32_t wert) {
        for (int i = 0; i < 4; ++i) daten[stelle + i] = char((wert >> (8 * i)) & 0xFF);
    };
    daten[0] = 'B';
    daten[1] = 'M';
    setze32(2, uint32_t(daten.size()));
    setze32(10, uint32_t(kopf));
    setze32(14, 40);
    setze32(18, uint32_t(breite));
    setze32(22, uint32_t(hoehe));
    setze16(26, 1);
    setze16(28, uint16_t(bits));
    setze32(46, uint32_t(farben));
    for (int i = 0; i < farben; ++i) {
        uint8_t g = uint8_t(i * 255 / (farben - 1));
        setze32(54 + i * 4, uint32_t(g) | uint32_t(g) << 8 | uint32_t(g) << 16);
    }
    for (int y = 0; y < hoehe; ++y) {
        int zeile = kopf + (hoehe - 1 - y) * zeilenbytes;
        for (int x = 0; x < breite; ++x) {
            int index = (qGray(grau.pixel(x, y)) * (farben - 1) + 127) / 255;
            int bit = x * bits;
            daten[zeile + bit / 8] = char(uint8_t(daten[zeile + bit / 8]) | (index << (8 - bits - bit % 8)));
        }
    }
    QFile datei(pfad);
    return datei.open(QIODevice::WriteOnly) && datei.write(daten) == daten.size();
}

QPainterPath Ellipse(double x, double y, double rx, double ry) {
    QPainterPath p;
    p.addEllipse(QPointF(x, y), rx, ry);
    return p;
}

QPainterPath Rechteck(double x, double y, double b, double h, double rund = 1.5) {
    QPainterPath p;
    p.addRoundedRect(QRectF(x, y, b, h), rund, rund);
    return p;
}

QPainterPath Vieleck(std::initializer_list<QPointF> punkte) {
    QPainterPath p;
    p.addPolygon(QPolygonF(QList<QPointF>(punkte)));
    p.closeSubpath();
    return p;
}

QPainterPath Vereinigt(std::initializer_list<QPainterPath> teile) {
    QPainterPath ganz;
    for (const auto& teil : teile) ganz = ganz.united(teil);
    return ganz;
}

QPainterPath Sockel() { return Rechteck(10, 38, 28, 6, 2); }

// A piece: its outline and the lines drawn inside it.
struct Form {
    QPainterPath umriss;
    QPainterPath linien;
};

Form Koenig() {
    QPainterPath koerper;
    koerper.moveTo(14, 38);
    koerper.lineTo(10.5, 24);
    koerper.cubicTo(10, 17, 19, 15, 24, 22);
    koerper.cubicTo(29, 15, 38, 17, 37.5, 24);
    koerper.lineTo(34, 38);
    koerper.closeSubpath();
    QPainterPath linien;
    linien.moveTo(14, 32);
    linien.quadTo(24, 29, 34, 32);
    linien.moveTo(24, 22);
    linien.lineTo(24, 32);
    return {Vereinigt({Sockel(), koerper, Ellipse(24, 19, 4.5, 6), Rechteck(22.3, 3, 3.4, 12, 0.5),
                       Rechteck(18.5, 6.2, 11, 3.4, 0.5)}),
            linien};
}

Form Dame() {
    QPainterPath koerper = Vieleck(
        {{14, 38}, {9, 15}, {17, 28}, {16.5, 11}, {24, 26}, {31.5, 11}, {31, 28}, {39, 15}, {34, 38}});
    QPainterPath linien;
    linien.moveTo(14.5, 33);
    linien.quadTo(24, 30, 33.5, 33);
    return {Vereinigt({Sockel(), koerper, Ellipse(9, 13.5, 2.8, 2.8), Ellipse(16.5, 9.5, 2.8, 2.8),
                       Ellipse(24, 8, 2.8, 2.8), Ellipse(31.5, 9.5, 2.8, 2.8), Ellipse(39, 13.5, 2.8, 2.8),
                       Vieleck({{20, 26}, {24, 9}, {28, 26}})}),
            linien};
}

Form Laeufer() {
    QPainterPath mitra;
    mitra.moveTo(17, 33);
    mitra.cubicTo(11, 25, 16, 16, 24, 10);
    mitra.cubicTo(32, 16, 37, 25, 31, 33);
    mitra.closeSubpath();
    QPainterPath linien;
    linien.moveTo(27.5, 16);
    linien.lineTo(22, 24);
    linien.moveTo(21, 27);
    linien.lineTo(27, 27);
    linien.moveTo(24, 24);
    linien.lineTo(24, 30);
    return {Vereinigt({Sockel(), Rechteck(15, 33, 18, 5, 2), mitra, Ellipse(24, 7.5, 3, 3)}), linien};
}

Form Springer() {
    QPainterPath kopf;
    kopf.moveTo(15, 38);
    kopf.cubicTo(15, 31, 20, 29, 21, 25);
    kopf.cubicTo(18, 26, 14, 27, 12.5, 28.5);
    kopf.cubicTo(10, 29.5, 7.5, 27, 9, 24);
    kopf.cubicTo(11, 20, 14, 15, 17, 12);
    kopf.lineTo(16.5, 6);
    kopf.lineTo(20.5, 9.5);
    kopf.lineTo(22, 5);
    kopf.lineTo(24.5, 9.5);
    kopf.cubicTo(33, 10, 37, 18, 36.5, 27);
    kopf.cubicTo(36.5, 31, 35, 35, 34, 38);
    kopf.closeSubpath();
    QPainterPath linien;
    linien.addEllipse(QPointF(18.5, 15.5), 1.3, 1.3);
    linien.addEllipse(QPointF(11.5, 25.5), 0.9, 0.9);
    linien.moveTo(25.5, 12);
    linien.cubicTo(31, 15, 33, 22, 31.5, 33);
    return {Vereinigt({Sockel(), kopf}), linien};
}

Form Turm() {
    QPainterPath zinnen = Rechteck(13.5, 6, 21, 8, 0.5)
                              .subtracted(Rechteck(18.5, 5, 3.5, 4.5, 0))
                              .subtracted(Rechteck(26, 5, 3.5, 4.5, 0));
    QPainterPath linien;
    linien.moveTo(13.5, 14);
    linien.lineTo(34.5, 14);
    linien.moveTo(13.5, 33.5);
    linien.lineTo(34.5, 33.5);
    return {Vereinigt({Sockel(), Rechteck(13.5, 33.5, 21, 4.5, 1),
                       Vieleck({{16, 34}, {17, 14}, {31, 14}, {32, 34}}), zinnen}),
            linien};
}

Form Bauer() {
    QPainterPath koerper;
    koerper.moveTo(20, 23);
    koerper.cubicTo(19.5, 29, 16, 33, 14.5, 38);
    koerper.lineTo(33.5, 38);
    koerper.cubicTo(32, 33, 28.5, 29, 28, 23);
    koerper.closeSubpath();
    QPainterPath linien;
    linien.moveTo(17.5, 23.5);
    linien.lineTo(30.5, 23.5);
    return {Vereinigt({Sockel(), koerper, Ellipse(24, 23, 7, 2.4), Ellipse(24, 14.5, 6.5, 6.5)}), linien};
}

QImage Leer(QColor farbe) {
    QImage bild(kGroesse, kGroesse, QImage::Format_RGB32);
    bild.fill(farbe);
    return bild;
}

constexpr double kStrich = 1.6;

// Black where the piece with its outline covers at least half a pixel, white elsewhere.
QImage Maske(const Form& form) {
    QImage deckung = Leer(Qt::white);
    QPainter maler(&deckung);
    maler.setRenderHint(QPainter::Antialiasing);
    maler.setPen(QPen(Qt::black, kStrich));
    maler.setBrush(Qt::black);
    maler.drawPath(form.umriss);
    maler.end();
    for (int y = 0; y < kGroesse; ++y)
        for (int x = 0; x < kGroesse; ++x)
            deckung.setPixel(x, y, qGray(deckung.pixel(x, y)) < 128 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    return deckung;
}

QImage Figurbild(const Form& form, const QImage& maske, QColor fuellung, QColor strich) {
    QImage bild = Leer(Qt::black);
    QPainter maler(&bild);
    maler.setRenderHint(QPainter::Antialiasing);
    maler.setPen(QPen(strich, kStrich, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    maler.setBrush(fuellung);
    maler.drawPath(form.umriss);
    maler.setBrush(Qt::NoBrush);
    maler.setPen(QPen(strich, 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    maler.drawPath(form.linien);
    maler.end();
    // Around the piece the image must be black, or it would show through on the light squares.
    for (int y = 0; y < kGroesse; ++y)
        for (int x = 0; x < kGroesse; ++x)
            if (qGray(maske.pixel(x, y)) != 0) bild.setPixel(x, y, qRgb(0, 0, 0));
    return bild;
}

// The icon: the piece where its mask is black, transparent elsewhere.
QImage Programmsymbol(const QImage& bild, const QImage& maske) {
    QImage symbol(kGroesse, kGroesse, QImage::Format_ARGB32);
    for (int y = 0; y < kGroesse; ++y)
        for (int x = 0; x < kGroesse; ++x)
            symbol.setPixel(x, y, qGray(maske.pixel(x, y)) == 0 ? bild.pixel(x, y) : qRgba(0, 0, 0, 0));
    return symbol;
}

// The coordinates picture: a board with its files and ranks, and a move written as the
// program reads it.
QImage Koordinaten() {
    QImage bild(269, 198, QImage::Format_RGB32);
    bild.fill(Qt::white);
    QPainter maler(&bild);
    QFont schrift = maler.font();
    schrift.setPixelSize(13);
    maler.setFont(schrift);
    maler.setPen(Qt::black);
    const int feld = 20, links = 24, oben = 8;
    for (int reihe = 0; reihe < 8; ++reihe) {
        for (int linie = 0; linie < 8; ++linie) {
            QRect q(links + linie * feld, oben + reihe * feld, feld, feld);
            if ((reihe + linie) % 2 == 1) maler.fillRect(q, QBrush(Qt::black, Qt::Dense5Pattern));
        }
        maler.drawText(QRect(4, oben + reihe * feld, 16, feld), Qt::AlignCenter, QString::number(8 - reihe));
    }
    maler.drawRect(links, oben, 8 * feld, 8 * feld);
    for (int linie = 0; linie < 8; ++linie)
        maler.drawText(QRect(links + linie * feld, oben + 8 * feld + 2, feld, 16), Qt::AlignCenter,
                       QString(QChar('a' + linie)));
    const int rechts = links + 8 * feld + 12;
    maler.drawText(QRect(rechts, oben, 269 - rechts, 8 * feld), Qt::AlignLeft | Qt::TextWordWrap,
                   "from, to:\n e2e4\n g1f3\n e1g1\n\npromotion:\n e7e8D");
    maler.end();
    return bild;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication anwendung(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const QString ordner = QString::fromLocal8Bit(argv[1]);
    struct Eintrag {
        const char* name;
        std::function<Form()> form;
    };
    const Eintrag figuren[] = {{"konig", Koenig},      {"dame", Dame}, {"laufer", Laeufer},
                               {"springer", Springer}, {"turm", Turm}, {"bauer", Bauer}};
    bool gut = true;
    for (const auto& figur : figuren) {
        Form form = figur.form();
        QImage maske = Maske(form);
        const QString basis = ordner + "/" + figur.name;
        gut = Bmp_schreiben(basis + "m.bmp", maske, 4) && gut;
        gut = Bmp_schreiben(basis + "w.bmp", Figurbild(form, maske, Qt::white, Qt::black), 4) && gut;
        gut = Bmp_schreiben(basis + "b.bmp",
                            Figurbild(form, maske, QColor(34, 34, 34), QColor(221, 221, 221)), 4) &&
              gut;
    }
    gut = Bmp_schreiben(ordner + "/koordinaten.bmp", Koordinaten(), 1) && gut;
    Form springer = Springer();
    QImage springermaske = Maske(springer);
    gut = Programmsymbol(Figurbild(springer, springermaske, Qt::white, Qt::black), springermaske)
              .save(ordner + "/dravel.png", "PNG") &&
          gut;
    return gut ? 0 : 1;
}
