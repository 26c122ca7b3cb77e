// The display's drawing calls, and the sheets of equal cells cut at load.
#include "platform/video.h"
#include <SDL.h>

Image *screen = nullptr;

void plat_blit(Image *image, const ImageRect *part, Image *destination, int x, int y) {
    if (!image || !destination)
        return;
    // The blit's rectangles are 16 bits wide; callers stay well inside that.
    SDL_Rect at = {(Sint16)x, (Sint16)y, 0, 0};
    if (!part) {
        SDL_UpperBlit(image, nullptr, destination, &at);
        return;
    }
    SDL_Rect from = {(Sint16)part->x, (Sint16)part->y, (Uint16)part->w, (Uint16)part->h};
    SDL_UpperBlit(image, &from, destination, &at);
}

void plat_fill(Image *destination, int x, int y, int w, int h, uint32_t colour) {
    SDL_Rect r = {(Sint16)x, (Sint16)y, (Uint16)w, (Uint16)h};
    SDL_FillRect(destination, &r, colour);
}

uint32_t plat_map_rgb(int r, int g, int b) {
#ifdef __EMSCRIPTEN__
    // The browser's screen has 8 bits a channel: a fill shows what the
    // desktop's 16-bit screen shows, as every image does (load_image).
    r &= 0xF8;
    g &= 0xFC;
    b &= 0xF8;
#endif
    return SDL_MapRGB(screen->format, (Uint8)r, (Uint8)g, (Uint8)b);
}

int image_width(const Image *image) { return image->w; }

int image_height(const Image *image) { return image->h; }

namespace {

enum { MAX_SHEETS = 8, MAX_CELLS = FONT_CELLS };

struct CellSheet {
    Image *sheet;
    int count;
    Image *cells[MAX_CELLS];
};
CellSheet cell_sheets[MAX_SHEETS];
int cell_sheet_count = 0;

const CellSheet *find_sheet(Image *sheet) {
    for (int i = 0; i < cell_sheet_count; i++)
        if (cell_sheets[i].sheet == sheet)
            return &cell_sheets[i];
    return nullptr;
}

// The sheet's key is lifted while copying, so the cell gets the key colour's
// pixels too; the cell is then keyed as every image is.
Image *cut_cell(Image *sheet, int x, int w) {
    const SDL_PixelFormat *f = sheet->format;
    Image *cell = SDL_CreateRGBSurface(SDL_SWSURFACE, w, sheet->h, f->BitsPerPixel, f->Rmask, f->Gmask, f->Bmask,
                                       f->Amask);
    if (!cell)
        return nullptr;
    SDL_Rect from = {(Sint16)x, 0, (Uint16)w, (Uint16)sheet->h};
    SDL_BlitSurface(sheet, &from, cell, nullptr);
    SDL_SetColorKey(cell, SDL_SRCCOLORKEY | SDL_RLEACCEL, SDL_MapRGB(cell->format, 0, 255, 255));
    return cell;
}

}  // namespace

int cut_cell_sheet(Image *sheet, int cell_width, int count) {
    if (!sheet || cell_width <= 0 || count > MAX_CELLS || cell_sheet_count == MAX_SHEETS || find_sheet(sheet))
        return 0;
    CellSheet *cut = &cell_sheets[cell_sheet_count];
#ifdef __EMSCRIPTEN__
    // The browser's surfaces have no colour key: load_image made the key
    // colour transparent, and the copies keep it so.
    Uint32 flags = 0, key = 0;
#else
    Uint32 flags = sheet->flags & (SDL_SRCCOLORKEY | SDL_RLEACCELOK);
    Uint32 key = sheet->format->colorkey;
#endif
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

Image *const *sheet_cells(Image *sheet, int count) {
    const CellSheet *cut = find_sheet(sheet);
    return cut && cut->count == count ? cut->cells : nullptr;
}

void free_cell_sheets(void) {
    for (int i = 0; i < cell_sheet_count; i++)
        for (int c = 0; c < cell_sheets[i].count; c++)
            SDL_FreeSurface(cell_sheets[i].cells[c]);
    cell_sheet_count = 0;
}
