// Name entry on the 78-character grid.
#pragma once

extern const char name_grid[79];

void run_name_entry(int player);
