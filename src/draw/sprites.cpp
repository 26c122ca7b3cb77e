// Sprites and bitmap-font text, blitted straight onto the destination.
#include "draw/sprites.h"

Font current_font = {nullptr, 0, 0, nullptr};

enum { FIRST_GLYPH = 32, LAST_GLYPH = 126, GLYPH_COUNT = 95, SCREEN_MIDDLE = 160 };

enum { MAX_SHEETS = 8, MAX_CELLS = GLYPH_COUNT };

struct CellSheet {
    SDL_Surface *sheet;
    int count;
    SDL_Surface *cells[MAX_CELLS];
};
static CellSheet cell_sheets[MAX_SHEETS];
static int cell_sheet_count = 0;

static const CellSheet *find_sheet(SDL_Surface *sheet) {
    for (int i = 0; i < cell_sheet_count; i++)
        if (cell_sheets[i].sheet == sheet)
            return &cell_sheets[i];
    return nullptr;
}

// The sheet's key is lifted while copying, so the cell gets the key colour's
// pixels too; the cell is then keyed as every image is.
static SDL_Surface *cut_cell(SDL_Surface *sheet, int x, int w) {
    const SDL_PixelFormat *f = sheet->format;
    SDL_Surface *cell = SDL_CreateRGBSurface(SDL_SWSURFACE, w, sheet->h, f->BitsPerPixel, f->Rmask,
                                             f->Gmask, f->Bmask, f->Amask);
    if (!cell)
        return nullptr;
    SDL_Rect from = {(Sint16)x, 0, (Uint16)w, (Uint16)sheet->h};
    SDL_BlitSurface(sheet, &from, cell, nullptr);
    SDL_SetColorKey(cell, SDL_SRCCOLORKEY | SDL_RLEACCEL, SDL_MapRGB(cell->format, 0, 255, 255));
    return cell;
}

int cut_cell_sheet(SDL_Surface *sheet, int cell_width, int count) {
    if (!sheet || cell_width <= 0 || count > MAX_CELLS || cell_sheet_count == MAX_SHEETS ||
        find_sheet(sheet))
        return 0;
    CellSheet *cut = &cell_sheets[cell_sheet_count];
    Uint32 flags = sheet->flags & (SDL_SRCCOLORKEY | SDL_RLEACCELOK);
    Uint32 key = sheet->format->colorkey;
    SDL_SetColorKey(sheet, 0, 0);
    int made = 0;
    while (made < count && (cut->cells[made] = cut_cell(sheet, made * cell_width, cell_width)))
        made++;
    SDL_SetColorKey(sheet, flags ? SDL_SRCCOLORKEY | SDL_RLEACCEL : 0, key);
    if (made < count) {
        while (made > 0)
            SDL_FreeSurface(cut->cells[--made]);
        return 0;
    }
    cut->sheet = sheet;
    cut->count = count;
    cell_sheet_count++;
    return 1;
}

SDL_Surface *sheet_cell(SDL_Surface *sheet, int index) {
    const CellSheet *cut = find_sheet(sheet);
    if (!cut || index < 0 || index >= cut->count)
        return nullptr;
    return cut->cells[index];
}

void free_cell_sheets(void) {
    for (int i = 0; i < cell_sheet_count; i++)
        for (int c = 0; c < cell_sheets[i].count; c++)
            SDL_FreeSurface(cell_sheets[i].cells[c]);
    cell_sheet_count = 0;
    current_font.cells = nullptr;
}

void draw_image(int x, int y, SDL_Surface *image, SDL_Surface *destination) {
    if (!image || !destination)
        return;
    SDL_Rect at = {(Sint16)x, (Sint16)y, 0, 0};
    SDL_UpperBlit(image, nullptr, destination, &at);
}

void set_font(SDL_Surface *image) {
    current_font.image = image;
    current_font.glyph_width = image->w / GLYPH_COUNT;
    current_font.glyph_height = image->h;
    const CellSheet *cut = find_sheet(image);
    current_font.cells = cut && cut->count == GLYPH_COUNT ? cut->cells : nullptr;
}

void draw_glyph(int x, int y, SDL_Surface *destination, unsigned char c) {
    if (!destination || !current_font.image)
        return;
    SDL_Rect at = {(Sint16)x, (Sint16)y, 0, 0};
    if (current_font.cells && c >= FIRST_GLYPH && c <= LAST_GLYPH) {
        SDL_UpperBlit(current_font.cells[c - FIRST_GLYPH], nullptr, destination, &at);
        return;
    }
    SDL_Rect source = {(Sint16)(current_font.glyph_width * (c - FIRST_GLYPH)), 0,
                       (Uint16)current_font.glyph_width, (Uint16)current_font.glyph_height};
    SDL_UpperBlit(current_font.image, &source, destination, &at);
}

int text_width(int n) { return n * (current_font.glyph_width + 1); }

static int printable_run(const char *text) {
    int n = 0;
    while ((unsigned char)text[n] >= FIRST_GLYPH && (unsigned char)text[n] <= LAST_GLYPH)
        n++;
    return n;
}

void draw_text(int x, int y, SDL_Surface *destination, const char *text) {
    int n = printable_run(text);
    if (x == -1)
        x = SCREEN_MIDDLE - text_width(n) / 2;
    int advance = current_font.glyph_width + 1;
    for (int i = 0; i < n; i++)
        draw_glyph(x + i * advance, y, destination, (unsigned char)text[i]);
}
