// Draws the uninstall tool's bitmaps and icons and writes them as .bmp/.ico files.
//
//   g++ -std=c++17 -O1 -o make-res-images tools/make-res-images.cpp
//   ./make-res-images uninstall/res
//
// Everything is drawn in the sixteen standard VGA colours: image lists loaded from a
// device-dependent bitmap may be reduced to sixteen colours on older systems, and these
// drawings survive that unchanged. Magenta is the transparent colour of every strip.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

enum Colour : uint8_t {
    Black, Maroon, Green, Olive, Navy, Purple, Teal, Silver,
    Grey, Red, Lime, Yellow, Blue, Magenta, Aqua, White
};

const uint8_t kPalette[16][3] = {  // red, green, blue
    {0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0}, {0, 0, 128},   {128, 0, 128},
    {0, 128, 128},   {192, 192, 192}, {128, 128, 128}, {255, 0, 0}, {0, 255, 0},  {255, 255, 0},
    {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};

struct Canvas {
    int w, h;
    std::vector<uint8_t> px;  // palette indices, top row first
    Canvas(int width, int height, Colour fill) : w(width), h(height), px(size_t(width) * height, fill) {}
    void Set(int x, int y, Colour c) {
        if (x >= 0 && y >= 0 && x < w && y < h) px[size_t(y) * w + x] = c;
    }
    uint8_t Get(int x, int y) const { return px[size_t(y) * w + x]; }
};

// A view of one cell of a strip, with coordinates given as fractions of the cell size so
// that the same drawing serves the 16, 18 and 32 pixel images.
struct Cell {
    Canvas& c;
    int ox, oy, s;
    int X(double f) const { return ox + int(std::lround(f * (s - 1))); }
    int Y(double f) const { return oy + int(std::lround(f * (s - 1))); }
    void Fill(double x0, double y0, double x1, double y1, Colour col) {
        for (int y = Y(y0); y <= Y(y1); ++y)
            for (int x = X(x0); x <= X(x1); ++x) c.Set(x, y, col);
    }
    void Frame(double x0, double y0, double x1, double y1, Colour col) {
        for (int x = X(x0); x <= X(x1); ++x) c.Set(x, Y(y0), col), c.Set(x, Y(y1), col);
        for (int y = Y(y0); y <= Y(y1); ++y) c.Set(X(x0), y, col), c.Set(X(x1), y, col);
    }
    void Box(double x0, double y0, double x1, double y1, Colour inside, Colour edge) {
        Fill(x0, y0, x1, y1, inside);
        Frame(x0, y0, x1, y1, edge);
    }
    void Disc(double cx, double cy, double r, Colour col) {
        const double px = cx * (s - 1), py = cy * (s - 1), pr = r * (s - 1);
        for (int y = 0; y < s; ++y)
            for (int x = 0; x < s; ++x)
                if ((x - px) * (x - px) + (y - py) * (y - py) <= pr * pr + 0.5) c.Set(ox + x, oy + y, col);
    }
    // A line of the given pixel thickness, drawn as a run of square dots.
    void Line(double x0, double y0, double x1, double y1, int thick, Colour col) {
        const int ax = X(x0), ay = Y(y0), bx = X(x1), by = Y(y1);
        const int steps = std::max(std::abs(bx - ax), std::abs(by - ay)) * 2 + 1;
        for (int i = 0; i <= steps; ++i) {
            const int x = ax + int(std::lround(double(bx - ax) * i / steps));
            const int y = ay + int(std::lround(double(by - ay) * i / steps));
            for (int dy = 0; dy < thick; ++dy)
                for (int dx = 0; dx < thick; ++dx) c.Set(x + dx, y + dy, col);
        }
    }
};

void DrawPrinter(Cell p) {
    p.Box(0.28, 0.02, 0.72, 0.40, White, Grey);          // sheet waiting in the feeder
    p.Box(0.04, 0.34, 0.96, 0.72, Silver, Black);        // body
    for (int x = p.X(0.04) + 1; x < p.X(0.96); ++x) p.c.Set(x, p.Y(0.34) + 1, White);  // top highlight
    p.Fill(0.10, 0.58, 0.90, 0.60, Grey);                // output slot
    p.Box(0.22, 0.60, 0.78, 0.86, White, Grey);          // printed sheet
    p.Fill(0.30, 0.68, 0.70, 0.68, Grey);                // text lines on it
    if (p.s >= 24) p.Fill(0.30, 0.76, 0.62, 0.76, Grey);
    p.Fill(0.78, 0.44, 0.86, 0.50, Lime);                // power light
}

// Default printer: a green disc with a white tick in the lower left corner.
void DrawDefaultBadge(Cell p) {
    p.Disc(0.22, 0.76, 0.23, Black);
    p.Disc(0.22, 0.76, 0.19, Green);
    const int t = p.s >= 24 ? 2 : 1;
    p.Line(0.11, 0.76, 0.19, 0.86, t, White);
    p.Line(0.19, 0.86, 0.33, 0.65, t, White);
}

// Network printer: a cable from the printer down to a network line along the bottom.
void DrawNetworkCable(Cell p) {
    const int t = p.s >= 24 ? 2 : 1;
    p.Line(0.50, 0.87, 0.50, 0.97, t, Navy);
    p.Line(0.00, 0.97, 1.00 - double(t - 1) / (p.s - 1), 0.97, t, Navy);
    p.Box(0.42, 0.88, 0.58, 0.96, Aqua, Navy);  // junction
}

// Printer made by the Vizora utility: a blue diamond with a yellow centre, top right.
void DrawVizoredMark(Cell p) {
    const double cx = 0.80, cy = 0.20, r = 0.20;
    for (int y = p.Y(cy - r); y <= p.Y(cy + r); ++y)
        for (int x = p.X(cx - r); x <= p.X(cx + r); ++x) {
            const double d = std::abs(x - p.X(cx)) + std::abs(y - p.Y(cy));
            const double rr = r * (p.s - 1);
            if (d <= rr) p.c.Set(x, y, d >= rr - 1 ? Navy : Blue);
        }
    if (p.s >= 24)
        p.Fill(cx - 0.03, cy - 0.03, cx + 0.03, cy + 0.03, Yellow);
    else
        p.c.Set(p.X(cx), p.Y(cy), Yellow);
}

// Eight images side by side; image i is a printer with the marks of the bits of i:
// 1 default, 2 network, 4 made by Vizora (the selection page's row-image index).
Canvas PrinterStrip(int size) {
    Canvas c(size * 8, size, Magenta);
    for (int i = 0; i < 8; ++i) {
        Cell cell{c, i * size, 0, size};
        DrawPrinter(cell);
        if (i & 2) DrawNetworkCable(cell);
        if (i & 1) DrawDefaultBadge(cell);
        if (i & 4) DrawVizoredMark(cell);
    }
    return c;
}

// Three 16 px check marks: grey (pending), green (done), red (running).
Canvas CheckStrip() {
    Canvas c(48, 16, Magenta);
    const Colour ink[3] = {Grey, Green, Red};
    for (int i = 0; i < 3; ++i) {
        Cell cell{c, i * 16, 0, 16};
        cell.Line(0.13, 0.53, 0.40, 0.80, 3, ink[i]);
        cell.Line(0.40, 0.80, 0.80, 0.13, 3, ink[i]);
    }
    return c;
}

// The tool's icon: a printer with a red removal badge in the lower right corner.
Canvas IconImage(int size) {
    Canvas c(size, size, Magenta);
    Cell cell{c, 0, 0, size};
    DrawPrinter(cell);
    cell.Disc(0.76, 0.76, 0.23, Black);
    cell.Disc(0.76, 0.76, 0.19, Red);
    cell.Fill(0.63, 0.72, 0.89, 0.80, White);
    return c;
}

// The side panel of the bitmap variant of the main window: a band of colour with the
// printer drawing near the top.
Canvas PanelImage() {
    Canvas c(104, 224, Navy);
    for (int y = 112; y < 224; ++y)
        for (int x = 0; x < 104; ++x) c.Set(x, y, ((x + y) % 4 == 0) ? Teal : Navy);
    for (int y = 0; y < 224; ++y) c.Set(103, y, Black);
    Cell cell{c, 20, 24, 64};
    DrawPrinter(cell);
    DrawDefaultBadge(cell);
    return c;
}

void Put16(std::vector<uint8_t>& b, unsigned v) { b.push_back(v & 0xFF), b.push_back(v >> 8 & 0xFF); }
void Put32(std::vector<uint8_t>& b, uint32_t v) { Put16(b, v & 0xFFFF), Put16(b, v >> 16); }

// BITMAPINFOHEADER, the sixteen-colour palette and the 4-bit rows, bottom row first.
// For an icon image the height is doubled and the 1-bit AND mask follows the colour rows.
std::vector<uint8_t> Dib4(const Canvas& c, bool withMask) {
    std::vector<uint8_t> b;
    const int colourStride = ((c.w * 4 + 31) / 32) * 4;
    const int maskStride = ((c.w + 31) / 32) * 4;
    const uint32_t imageSize = colourStride * c.h + (withMask ? maskStride * c.h : 0);
    Put32(b, 40), Put32(b, c.w), Put32(b, withMask ? c.h * 2 : c.h);
    Put16(b, 1), Put16(b, 4), Put32(b, 0), Put32(b, imageSize);
    Put32(b, 2835), Put32(b, 2835), Put32(b, 16), Put32(b, 0);
    for (const auto& rgb : kPalette) b.push_back(rgb[2]), b.push_back(rgb[1]), b.push_back(rgb[0]), b.push_back(0);
    for (int y = c.h - 1; y >= 0; --y) {
        std::vector<uint8_t> row(colourStride, 0);
        for (int x = 0; x < c.w; ++x) {
            uint8_t v = c.Get(x, y);
            if (withMask && v == Magenta) v = Black;  // transparent pixels are black under the mask
            row[x / 2] |= (x % 2 == 0) ? uint8_t(v << 4) : v;
        }
        b.insert(b.end(), row.begin(), row.end());
    }
    if (withMask) {
        for (int y = c.h - 1; y >= 0; --y) {
            std::vector<uint8_t> row(maskStride, 0);
            for (int x = 0; x < c.w; ++x)
                if (c.Get(x, y) == Magenta) row[x / 8] |= uint8_t(0x80 >> (x % 8));
            b.insert(b.end(), row.begin(), row.end());
        }
    }
    return b;
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& data) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
    return std::fclose(f) == 0 && ok;
}

bool WriteBmp(const std::string& path, const Canvas& c) {
    const std::vector<uint8_t> dib = Dib4(c, false);
    std::vector<uint8_t> b;
    b.push_back('B'), b.push_back('M');
    Put32(b, 14 + dib.size()), Put32(b, 0), Put32(b, 14 + 40 + 64);
    b.insert(b.end(), dib.begin(), dib.end());
    return WriteFile(path, b);
}

bool WriteIco(const std::string& path, const std::vector<Canvas>& images) {
    std::vector<std::vector<uint8_t>> dibs;
    for (const Canvas& c : images) dibs.push_back(Dib4(c, true));
    std::vector<uint8_t> b;
    Put16(b, 0), Put16(b, 1), Put16(b, images.size());
    uint32_t offset = 6 + 16 * images.size();
    for (size_t i = 0; i < images.size(); ++i) {
        b.push_back(images[i].w), b.push_back(images[i].h), b.push_back(16), b.push_back(0);
        Put16(b, 1), Put16(b, 4), Put32(b, dibs[i].size()), Put32(b, offset);
        offset += dibs[i].size();
    }
    for (const auto& d : dibs) b.insert(b.end(), d.begin(), d.end());
    return WriteFile(path, b);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT-FOLDER\n", argv[0]);
        return 2;
    }
    const std::string dir = std::string(argv[1]) + "/";
    const bool ok = WriteBmp(dir + "printers18.bmp", PrinterStrip(18)) &&
                    WriteBmp(dir + "printers32.bmp", PrinterStrip(32)) &&
                    WriteBmp(dir + "stepchecks.bmp", CheckStrip()) &&
                    WriteBmp(dir + "panel.bmp", PanelImage()) &&
                    WriteIco(dir + "uninstall.ico", {IconImage(32), IconImage(16)}) &&
                    WriteIco(dir + "uninstall-small.ico", {IconImage(16), IconImage(32)});
    if (!ok) std::fprintf(stderr, "%s: cannot write into %s\n", argv[0], argv[1]);
    return ok ? 0 : 1;
}
