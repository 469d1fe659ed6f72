#include "ruler/MagnetSnapping.h"

#include <cstdint>

namespace {

using i64 = std::int64_t;

i64 Distance(i64 a, i64 b) { return a > b ? a - b : b - a; }

// Running state of one Snap call. Every distance is measured from the proposal (X0, Y0),
// so the order of the rectangles decides only ties, never how far a form may travel.
class TSnapper {
 public:
  TSnapper(TMagnetPosition proposed, int width, int height, int snapDistance)
      : X0(proposed.X), Y0(proposed.Y), W(width), H(height), FResult(proposed),
        FBestX(snapDistance), FBestY(snapDistance) {}

  void Visit(const TRect& r, TMagnetMode mode) {
    HorizontalPass(r, mode);
    VerticalPass(r, mode);
  }

  TMagnetPosition Result() const { return FResult; }

 private:
  void HorizontalPass(const TRect& r, TMagnetMode mode) {
    if (!(r.Top <= Y0 + H && Y0 <= r.Bottom)) return;
    if (mode == TMagnetMode::Inside) {
      TryX(r.Left, Distance(X0, r.Left), r);
      TryX(i64{r.Right} - W, Distance(X0 + W, r.Right), r);
    } else {
      TryX(r.Right, Distance(X0, r.Right), r);
      TryX(i64{r.Left} - W, Distance(X0 + W, r.Left), r);
    }
  }

  void VerticalPass(const TRect& r, TMagnetMode mode) {
    if (!(r.Left <= X0 + W && X0 <= r.Right)) return;
    if (mode == TMagnetMode::Inside) {
      TryY(r.Top, Distance(Y0, r.Top), r);
      TryY(i64{r.Bottom} - H, Distance(Y0 + H, r.Bottom), r);
    } else {
      TryY(r.Bottom, Distance(Y0, r.Bottom), r);
      TryY(i64{r.Top} - H, Distance(Y0 + H, r.Top), r);
    }
  }

  // Taking an edge also lines the corner up with the same rectangle when the other
  // coordinate is close enough, so a form dropped near a corner lands exactly in it.
  void TryX(i64 x, i64 distance, const TRect& r) {
    if (distance >= FBestX) return;
    FResult.X = static_cast<int>(x);
    FBestX = distance;
    TryAlignY(r.Top, Distance(Y0, r.Top));
    TryAlignY(i64{r.Bottom} - H, Distance(Y0 + H, r.Bottom));
  }

  void TryY(i64 y, i64 distance, const TRect& r) {
    if (distance >= FBestY) return;
    FResult.Y = static_cast<int>(y);
    FBestY = distance;
    TryAlignX(r.Left, Distance(X0, r.Left));
    TryAlignX(i64{r.Right} - W, Distance(X0 + W, r.Right));
  }

  void TryAlignY(i64 y, i64 distance) {
    if (distance >= FBestY) return;
    FResult.Y = static_cast<int>(y);
    FBestY = distance;
  }

  void TryAlignX(i64 x, i64 distance) {
    if (distance >= FBestX) return;
    FResult.X = static_cast<int>(x);
    FBestX = distance;
  }

  const i64 X0, Y0, W, H;
  TMagnetPosition FResult;
  i64 FBestX, FBestY;
};

int GSnapDistance = kInitialMagnetSnapDistance;

}  // namespace

TMagnetPosition Snap(TMagnetPosition proposed, int width, int height,
                     const TMagnetSurroundings& surroundings, TQorvelMagnetAllies allies,
                     int snapDistance) {
  TSnapper snapper(proposed, width, height, snapDistance);
  using A = TQorvelMagnetAlly;
  if (allies.Contains(A::pmaScreenBounds)) snapper.Visit(surroundings.Screen, TMagnetMode::Inside);
  if (allies.Contains(A::pmaWorkArea)) snapper.Visit(surroundings.WorkArea, TMagnetMode::Inside);
  if (allies.Contains(A::pmaScreenForms))
    for (const TMagnetForm& form : surroundings.OtherForms)
      if (form.Visible) snapper.Visit(form.Bounds, TMagnetMode::Outside);
  if (allies.Contains(A::pmaAllyControls))
    for (const TMagnetTarget& t : surroundings.Allies)
      if (t.Visible) snapper.Visit(t.Bounds, t.Mode);
  if (allies.Contains(A::pmaGlobalAllyControls))
    for (const TMagnetTarget& t : surroundings.GlobalAllies)
      if (t.Visible) snapper.Visit(t.Bounds, t.Mode);
  return snapper.Result();
}

bool MagnetSnapApplies(const TMagnetFormState& form, const TWindowPosProposal& proposal) {
  if (!form.Visible || form.Maximized || proposal.NoMove) return false;
  const bool moves = proposal.X != form.Bounds.Left || proposal.Y != form.Bounds.Top;
  const bool keepsSize = proposal.NoSize || (proposal.Width == form.Bounds.Width() &&
                                             proposal.Height == form.Bounds.Height());
  return moves && keepsSize;
}

TWindowPosProposal MagnetPositionChanging(const TMagnetFormState& form,
                                          TWindowPosProposal proposal,
                                          const TMagnetSurroundings& surroundings,
                                          TQorvelMagnetAllies allies, int snapDistance) {
  if (!MagnetSnapApplies(form, proposal)) return proposal;
  const TMagnetPosition snapped = Snap({proposal.X, proposal.Y}, form.Bounds.Width(),
                                       form.Bounds.Height(), surroundings, allies, snapDistance);
  proposal.X = snapped.X;
  proposal.Y = snapped.Y;
  return proposal;
}

int MagnetSnapDistance() { return GSnapDistance; }

void SetMagnetSnapDistance(int pixels) { GSnapDistance = pixels; }
