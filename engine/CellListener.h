#pragma once
#include <cstdint>

// What one generation step did to one row of the world. Masks hold a bit a
// cell: bit x % 64 of word x / 64; bits past the last column are 0.
struct RowChanges {
  uint32_t y;
  uint32_t words;          // 64-bit words per mask
  const uint64_t* redraw;  // cells whose face state was stepped: tiles to redraw
  const uint64_t* births;
  const uint64_t* deaths;
  const uint16_t* faces;  // the row's face states after the step, cols of them
};
// The masks and faces are valid during the call only.

// Watches a world: its drawing side (a canvas) or anything else that follows
// the cells. A world tells its listeners, in the order they were added.
class CellListener {
 public:
  // After each row of a generation step, rows in order 0..rows-1.
  virtual void RowStepped(const RowChanges& row) = 0;
  // A cell brought to life by seeding, or set alive or dead by SetCell. Its
  // face state changed too, but its tile waits for the next step to visit it.
  virtual void CellPlaced(uint32_t x, uint32_t y, bool alive) = 0;

 protected:
  ~CellListener() = default;
};
