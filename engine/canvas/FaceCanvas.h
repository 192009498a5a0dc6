#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "CellListener.h"
#include "CellMap.h"
#include "CreateResult.h"
#include "Picture.h"
#include "Platform.h"

// How a canvas shows its world; the face geometry comes from the world.
struct CanvasOptions {
  uint32_t displayColor = 0x000000FF;  // 0x00BBGGRR: frame, mini display, text
  uint32_t bMiniDisplay = 0;
  uint32_t bActivityBar = 0;
  uint32_t bFrameScreen = 0;
  FontHandle font = nullptr;       // activity-line font; the canvas owns it
  const char* faceFile = nullptr;  // sprite-sheet file name, used as written
  // Where the overlays go, in picture pixels (clipped to the picture): the
  // activity line at its top left, the mini display at its top right. An
  // empty area means the whole picture.
  PixelRect overlayArea = {0, 0, 0, 0};
  // Memory to draw the picture into, cols x frameWidth by rows x frameHeight
  // pixels with rows `stride` pixels apart, kept alive by the caller as long
  // as the canvas. Null: the canvas makes its own picture. Native only: on
  // Windows the picture is always the canvas's own DIB section.
  Pixel* pixels = nullptr;
  int stride = 0;
};

// The drawing side of a world: one picture of the screen (one sheet tile per
// cell, the overlays drawn over the tiles), the sprite sheet and the mini
// display (one pixel per cell). It follows its world as a CellListener,
// redraws the tiles of the cells each step visits, and records what changed
// between two Compose calls so that a presenter can copy only that.
class FaceCanvas final : public CellListener {
 public:
  FaceCanvas() = default;
  ~FaceCanvas();
  FaceCanvas(const FaceCanvas&) = delete;
  FaceCanvas& operator=(const FaceCanvas&) = delete;

  // Builds the pictures for the window's screen from the world's geometry,
  // loads the sheet, draws every tile blank (frame 0 of face row 0), shows
  // the world's live cells in the mini display and starts following the
  // world, which must outlive the canvas. Called once. The failures come in
  // the order CreateResult lists them; the font is owned from here on.
  CreateResult Create(WindowHandle window, CellMap& world, const CanvasOptions& options);

  // The picture to show: the tiles, framed if asked, with the mini display
  // and the activity line over them. The tiles under the last overlays are
  // drawn again first, so nothing is left over from earlier ticks. Always
  // the picture gridPicture() names. Null when there is nothing to draw (a
  // grid of no cells, or Create failed).
  const Picture* Compose();

  // What the picture the last Compose returned differs in from the one the
  // Compose before returned: everything after the first Compose; else the
  // tiles redrawn in between (bit x % 64 of word x / 64 of ChangedTiles(y))
  // and, as areas in picture pixels, their runs along each row plus the
  // overlay areas, which change every time.
  bool ChangedAll() const { return changedAll_; }
  const uint64_t* ChangedTiles(uint32_t y) const {
    return changedTiles_.data() + size_t{y} * words_;
  }
  const std::vector<PixelRect>& ChangedAreas() const { return changedAreas_; }

  // The display name of the face set once created: the file name up to its
  // first ".", first letter raised.
  const char* faceName() const { return faceName_.get(); }
  int32_t miniDisplayX() const { return miniDisplayX_; }
  int32_t miniDisplayY() const { return miniDisplayY_; }
  // The one picture: between a Compose and the next step it shows the
  // overlays too.
  const Picture& gridPicture() const { return grid_; }
  const Picture& miniPicture() const { return mini_; }
  const Picture& sheetPicture() const { return sheet_; }

  // Room for the activity line, its end mark included.
  static constexpr size_t kActivityLineSize = 100;
  // Formats " NAME - Population: P Generation: G " into line, cutting a
  // long name so that the line always fits.
  static void FormatActivityLine(char (&line)[kActivityLineSize], const char* name,
                                 int32_t population, int32_t generation);

  void RowStepped(const RowChanges& row) override;
  void CellPlaced(uint32_t x, uint32_t y, bool alive) override;

 private:
  CreateResult BuildPictures(WindowHandle window);
  void ApplyDisplayName();
  void DrawCell(uint32_t x, uint32_t y, uint32_t row, uint32_t frame);
  void SetMiniCell(uint32_t x, uint32_t y, bool alive);
  void CollectChanges();
  // The overlay areas the options ask for, in picture pixels.
  void OverlayAreas(PixelRect (&areas)[2], int& count) const;
  // Draws again the tiles that an area of the picture touches.
  void RedrawTilesUnder(const PixelRect& area);

  CellMap* world_ = nullptr;  // followed from a successful Create on
  uint32_t cols_ = 0;
  uint32_t rows_ = 0;
  uint32_t words_ = 0;  // 64-bit words of a row's tile marks
  uint32_t frameWidth_ = 0;
  uint32_t frameHeight_ = 0;
  uint32_t numFrames_ = 0;
  uint32_t numRows_ = 1;
  CanvasOptions options_;

  bool drawing_ = false;  // the grid has pictures to draw into
  bool overlaysDrawn_ = false;  // the picture shows the overlays
  Pixel frameBrush_ = 0;        // colour of the frame and mini-display border
  Picture grid_;
  // Each tile's face state as last drawn (a cell set by seeding keeps its
  // old tile until a step visits it), to draw it again from.
  std::vector<uint16_t> drawn_;
  Picture mini_;
  Picture sheet_;
  PixelRect frameRect_ = {0, 0, 0, 0};
  PixelRect activityBand_ = {0, 0, 0, 0};  // where the activity line may draw
  int32_t miniDisplayX_ = 0;
  int32_t miniDisplayY_ = 0;
  std::unique_ptr<char[]> faceName_;

  // Tiles redrawn since the last Compose, and those of the last Compose.
  std::vector<uint64_t> pendingTiles_;
  std::vector<uint64_t> changedTiles_;
  std::vector<PixelRect> changedAreas_;
  bool composedOnce_ = false;
  bool changedAll_ = true;
};
