#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "CellMap.h"

// Life patterns as run-length encoded text (RLE), the format Golly reads:
// a header "x = W, y = H, rule = RULE", then rows of runs ("3o" three live
// cells, "2b" two dead ones, "$" ends a row, "!" the pattern). Lines are at
// most 70 characters and never break between a run count and its letter.
std::string RleText(uint32_t width, uint32_t height,
                    const std::function<bool(uint32_t x, uint32_t y)>& alive,
                    const std::string& rule);

// The world's live cells on its torus: rule B3/S23:Tcols,rows.
bool WriteRle(const std::string& path, const CellMap& world);
