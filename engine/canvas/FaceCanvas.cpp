#include "FaceCanvas.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <new>

#include "ActivityFont.h"

namespace {
// The height the activity line may draw in: from 2 pixels down, a line of a
// font of at most a few dozen pixels.
constexpr int kActivityBandHeight = 48;

std::unique_ptr<char[]> CopyName(const char* name) {
  if (name == nullptr) return nullptr;
  const size_t size = std::strlen(name) + 1;
  std::unique_ptr<char[]> copy(new (std::nothrow) char[size]);
  if (copy) std::memcpy(copy.get(), name, size);
  return copy;
}
}  // namespace

FaceCanvas::~FaceCanvas() {
  if (world_ != nullptr) world_->RemoveListener(this);
  // The pictures go first: the font may still be selected into one.
  grid_.Release();
  mini_.Release();
  sheet_.Release();
  DeleteActivityFont(options_.font);
}

CreateResult FaceCanvas::Create(WindowHandle window, CellMap& world, const CanvasOptions& options) {
  const WorldConfig& config = world.config();
  options_ = options;
  options_.faceFile = nullptr;  // the canvas keeps its own copy
  faceName_ = CopyName(options.faceFile);
  cols_ = config.cols;
  rows_ = config.rows;
  words_ = (cols_ + 63) / 64;
  frameWidth_ = config.frameWidth;
  frameHeight_ = config.frameHeight;
  numFrames_ = config.numFrames;
  numRows_ = config.numRows;
  frameBrush_ = PixelFromColor(options.displayColor);
  frameRect_ = {0, 0, static_cast<int>(cols_) + 4, static_cast<int>(rows_) + 4};

  const CreateResult built = BuildPictures(window);
  if (built != CreateResult::kCreated) return built;
  drawn_.assign(size_t{rows_} * cols_, 0);
  pendingTiles_.assign(size_t{rows_} * words_, 0);
  changedTiles_.assign(size_t{rows_} * words_, 0);
  for (uint32_t y = 0; y < rows_; ++y)
    for (uint32_t x = 0; x < cols_; ++x) {
      DrawCell(x, y, 0, 0);
      if (world.IsAlive(x, y)) SetMiniCell(x, y, true);
    }
  world_ = &world;
  world.AddListener(this);
  return CreateResult::kCreated;
}

CreateResult FaceCanvas::BuildPictures(WindowHandle window) {
  const int pictureWidth = static_cast<int>(cols_ * frameWidth_);
  const int pictureHeight = static_cast<int>(rows_ * frameHeight_);
  const bool emptyGrid = cols_ * rows_ == 0;
  if (!emptyGrid) {
#ifndef _WIN32
    if (options_.pixels != nullptr)
      grid_.Attach(options_.pixels, pictureWidth, pictureHeight, options_.stride);
    else
#endif
      grid_.Create(window, pictureWidth, pictureHeight);
    mini_.Create(window, static_cast<int>(cols_) + 4, static_cast<int>(rows_) + 4);
  }

  if (!faceName_) return CreateResult::kNoFaceName;
  if (numFrames_ == 0 || frameWidth_ == 0 || frameHeight_ == 0) return CreateResult::kBadFrame;

  const uint64_t sheetWidth = uint64_t{numFrames_} * frameWidth_;
  const uint64_t sheetHeight = uint64_t{numRows_} * frameHeight_;
  Picture::LoadResult loaded = Picture::LoadResult::kUnreadable;
  if (sheetWidth <= INT32_MAX && sheetHeight <= INT32_MAX)
    loaded = sheet_.LoadScaled(window, faceName_.get(), static_cast<int>(sheetWidth),
                               static_cast<int>(sheetHeight));
  if (loaded == Picture::LoadResult::kUnreadable) return CreateResult::kNoFaces;
  if (!sheet_.valid() || (!emptyGrid && (!grid_.valid() || !mini_.valid())))
    return CreateResult::kNoSurface;

  grid_.PrepareText(options_.font, options_.displayColor);
  PixelRect overlays = options_.overlayArea;
  if (overlays.right <= overlays.left || overlays.bottom <= overlays.top)
    overlays = {0, 0, pictureWidth, pictureHeight};
  overlays = {std::max(overlays.left, 0), std::max(overlays.top, 0),
              std::min(overlays.right, pictureWidth), std::min(overlays.bottom, pictureHeight)};
  // The mini display ends 2 pixels short of the area's right edge.
  miniDisplayX_ = overlays.right - 2 - (static_cast<int32_t>(cols_) + 4);
  miniDisplayY_ = overlays.top + 2;
  // The band runs on to the picture's right edge: a line longer than a
  // narrow overlay area is still wiped before the next one is written.
  activityBand_ = {overlays.left, overlays.top, pictureWidth,
                   std::min(overlays.bottom, overlays.top + kActivityBandHeight)};

  mini_.Fill(frameRect_, frameBrush_);
  frameRect_ = {1, 1, static_cast<int>(cols_) + 3, static_cast<int>(rows_) + 3};
  mini_.Fill(frameRect_, kBlack);
  frameRect_ = {0, 0, pictureWidth, pictureHeight};
  grid_.Fill(frameRect_, kBlack);

  ApplyDisplayName();
  drawing_ = !emptyGrid;
  return CreateResult::kCreated;
}

void FaceCanvas::ApplyDisplayName() {
  char* name = faceName_.get();
  char* dot = std::strchr(name, '.');
  if (dot == nullptr) return;
  *dot = '\0';
  if (name[0] >= 'a' && name[0] <= 'z') name[0] = static_cast<char>(name[0] - 'a' + 'A');
}

void FaceCanvas::DrawCell(uint32_t x, uint32_t y, uint32_t row, uint32_t frame) {
  if (!drawing_) return;
  const int sx = static_cast<int>(frame * frameWidth_), sy = static_cast<int>(row * frameHeight_);
  const int w = static_cast<int>(frameWidth_), h = static_cast<int>(frameHeight_);
  const int dx = static_cast<int>(x * frameWidth_), dy = static_cast<int>(y * frameHeight_);
  grid_.CopyTile(sheet_, sx, sy, w, h, dx, dy);
  drawn_[size_t{y} * cols_ + x] = static_cast<uint16_t>(row | (frame << 8u));
}

void FaceCanvas::RedrawTilesUnder(const PixelRect& area) {
  const int w = static_cast<int>(frameWidth_), h = static_cast<int>(frameHeight_);
  const int left = std::max(area.left, 0) / w, top = std::max(area.top, 0) / h;
  const auto right = static_cast<int>(std::min<int64_t>((int64_t{area.right} + w - 1) / w, cols_));
  const auto bottom =
      static_cast<int>(std::min<int64_t>((int64_t{area.bottom} + h - 1) / h, rows_));
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) {
      const uint16_t state = drawn_[size_t(y) * cols_ + size_t(x)];
      DrawCell(uint32_t(x), uint32_t(y), state & 0xFFu, state >> 8u);
    }
}

void FaceCanvas::OverlayAreas(PixelRect (&areas)[2], int& count) const {
  count = 0;
  if (options_.bMiniDisplay != 0)
    areas[count++] = {miniDisplayX_, miniDisplayY_, miniDisplayX_ + mini_.width(),
                      miniDisplayY_ + mini_.height()};
  if (options_.bActivityBar != 0) areas[count++] = activityBand_;
}

void FaceCanvas::SetMiniCell(uint32_t x, uint32_t y, bool alive) {
  if (!drawing_ || options_.bMiniDisplay == 0) return;
  mini_.SetPixel(static_cast<int>(x) + 2, static_cast<int>(y) + 2, alive ? frameBrush_ : kBlack);
}

void FaceCanvas::RowStepped(const RowChanges& row) {
  if (!drawing_) return;
  uint64_t* const pending = pendingTiles_.data() + size_t{row.y} * words_;
  for (uint32_t word = 0; word < row.words; ++word) {
    pending[word] |= row.redraw[word];
    for (uint64_t marks = row.redraw[word]; marks != 0; marks &= marks - 1) {
      const uint32_t x = word * 64 + static_cast<uint32_t>(__builtin_ctzll(marks));
      DrawCell(x, row.y, row.faces[x] & 0xFFu, row.faces[x] >> 8u);
    }
    if (options_.bMiniDisplay == 0) continue;
    for (uint64_t marks = row.births[word] | row.deaths[word]; marks != 0; marks &= marks - 1) {
      const uint32_t bit = static_cast<uint32_t>(__builtin_ctzll(marks));
      SetMiniCell(word * 64 + bit, row.y, (row.births[word] >> bit) & 1u);
    }
  }
}

void FaceCanvas::CellPlaced(uint32_t x, uint32_t y, bool alive) { SetMiniCell(x, y, alive); }

void FaceCanvas::FormatActivityLine(char (&line)[kActivityLineSize], const char* name,
                                    int32_t population, int32_t generation) {
  char tail[kActivityLineSize];
  const int tailLength =
      std::snprintf(tail, sizeof tail, " - Population: %u Generation: %u ",
                    static_cast<unsigned>(population), static_cast<unsigned>(generation));
  // Whatever room the numbers leave goes to the name, cut if need be.
  const size_t room = kActivityLineSize - 2 - static_cast<size_t>(tailLength);
  const size_t nameLength = strnlen(name, room);
  line[0] = ' ';
  std::memcpy(line + 1, name, nameLength);
  std::memcpy(line + 1 + nameLength, tail, static_cast<size_t>(tailLength) + 1);
}

void FaceCanvas::CollectChanges() {
  changedAll_ = !composedOnce_;
  composedOnce_ = true;
  changedTiles_.swap(pendingTiles_);
  std::fill(pendingTiles_.begin(), pendingTiles_.end(), 0);
  changedAreas_.clear();
  const int w = static_cast<int>(frameWidth_), h = static_cast<int>(frameHeight_);
  if (changedAll_) {
    changedAreas_.push_back({0, 0, grid_.width(), grid_.height()});
    return;
  }
  // Runs of changed tiles along each row.
  for (uint32_t y = 0; y < rows_; ++y) {
    const uint64_t* tiles = ChangedTiles(y);
    const int top = static_cast<int>(y) * h;
    int runStart = -1;
    for (uint32_t x = 0; x <= cols_; ++x) {
      const bool changed = x < cols_ && ((tiles[x / 64] >> (x % 64)) & 1u) != 0;
      if (changed && runStart < 0) runStart = static_cast<int>(x);
      if (!changed && runStart >= 0) {
        changedAreas_.push_back({runStart * w, top, static_cast<int>(x) * w, top + h});
        runStart = -1;
      }
      // Whole empty words are passed over.
      if (runStart < 0 && x % 64 == 0 && x + 64 <= cols_ && tiles[x / 64] == 0) x += 63;
    }
  }
  PixelRect overlays[2];
  int count = 0;
  OverlayAreas(overlays, count);
  changedAreas_.insert(changedAreas_.end(), overlays, overlays + count);
}

const Picture* FaceCanvas::Compose() {
  if (!drawing_) return nullptr;
  CollectChanges();
  // The tiles under the last overlays come back before the frame and the
  // overlays go over them again.
  PixelRect overlays[2];
  int count = 0;
  OverlayAreas(overlays, count);
  if (overlaysDrawn_)
    for (int i = 0; i < count; ++i) RedrawTilesUnder(overlays[i]);
  overlaysDrawn_ = count > 0;
  if (options_.bFrameScreen != 0) grid_.Frame(frameRect_, frameBrush_);
  if (options_.bMiniDisplay != 0) grid_.OrCopyFrom(mini_, miniDisplayX_, miniDisplayY_);
  if (options_.bActivityBar != 0) {
    char line[kActivityLineSize];
    FormatActivityLine(line, faceName_.get(), world_->population(), world_->generation());
    grid_.WriteText(activityBand_.left + 2, activityBand_.top + 2, line,
                    static_cast<int>(std::strlen(line)));
  }
  return &grid_;
}
