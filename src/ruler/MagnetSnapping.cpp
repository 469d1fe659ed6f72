#include "ruler/MagnetSnapping.h"

#include <cstdint>

namespace {

using i64 = std::int64_t;

i64 Distance(i64 a, i64 b) { return a > b ? a - b : b - a; }

// One axis of a Snap call: the proposal's start and the form's size along it, where the form
// goes and how near the edge it was taken for lay.
struct TAxis {
  i64 Start, Size;
  int Result;
  i64 Best;
};

// A rectangle's two edges along one axis.
struct TEdges {
  i64 Low, High;
};

TEdges Horizontal(const TRect& r) { return {r.Left, r.Right}; }
TEdges Vertical(const TRect& r) { return {r.Top, r.Bottom}; }

// Running state of one Snap call. Every distance is measured from the proposal, so the order
// of the rectangles decides only ties, never how far a form may travel.
class TSnapper {
 public:
  TSnapper(TMagnetPosition proposed, int width, int height, int snapDistance)
      : FX{proposed.X, width, proposed.X, snapDistance}, FY{proposed.Y, height, proposed.Y, snapDistance} {}

  void Visit(const TRect& r, TMagnetMode mode) {
    Pass(FX, Horizontal(r), FY, Vertical(r), mode);
    Pass(FY, Vertical(r), FX, Horizontal(r), mode);
  }

  TMagnetPosition Result() const { return {FX.Result, FY.Result}; }

 private:
  // Snaps along `axis` to the rectangle's `edges` on it, when the form lies beside the
  // rectangle's `across` edges on the other axis (touching counts).
  static void Pass(TAxis& axis, TEdges edges, TAxis& other, TEdges across, TMagnetMode mode) {
    if (!(across.Low <= other.Start + other.Size && other.Start <= across.High)) return;
    // From inside each edge of the form goes to the same edge, from outside to the opposite.
    const bool inside = mode == TMagnetMode::Inside;
    const i64 toStart = inside ? edges.Low : edges.High, toEnd = inside ? edges.High : edges.Low;
    if (Take(axis, toStart, Distance(axis.Start, toStart))) AlignCorner(other, across);
    if (Take(axis, toEnd - axis.Size, Distance(axis.Start + axis.Size, toEnd))) AlignCorner(other, across);
  }

  // Taking an edge also lines the corner up with the same rectangle when the other
  // coordinate is close enough, so a form dropped near a corner lands exactly in it.
  static void AlignCorner(TAxis& other, TEdges across) {
    Take(other, across.Low, Distance(other.Start, across.Low));
    Take(other, across.High - other.Size, Distance(other.Start + other.Size, across.High));
  }

  // Moves the form to `start` along `axis` when it is strictly nearer than every edge before.
  static bool Take(TAxis& axis, i64 start, i64 distance) {
    if (distance >= axis.Best) return false;
    axis.Result = static_cast<int>(start);
    axis.Best = distance;
    return true;
  }

  TAxis FX, FY;
};

int GSnapDistance = kInitialMagnetSnapDistance;

}  // namespace

TMagnetPosition Snap(TMagnetPosition proposed, int width, int height, const TMagnetSurroundings& surroundings,
                     TQorvelMagnetAllies allies, int snapDistance) {
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
  const bool keepsSize =
      proposal.NoSize || (proposal.Width == form.Bounds.Width() && proposal.Height == form.Bounds.Height());
  return moves && keepsSize;
}

TWindowPosProposal MagnetPositionChanging(const TMagnetFormState& form, TWindowPosProposal proposal,
                                          const TMagnetSurroundings& surroundings, TQorvelMagnetAllies allies,
                                          int snapDistance) {
  if (!MagnetSnapApplies(form, proposal)) return proposal;
  const TMagnetPosition snapped =
      Snap({proposal.X, proposal.Y}, form.Bounds.Width(), form.Bounds.Height(), surroundings, allies, snapDistance);
  proposal.X = snapped.X;
  proposal.Y = snapped.Y;
  return proposal;
}

int MagnetSnapDistance() { return GSnapDistance; }

void SetMagnetSnapDistance(int pixels) { GSnapDistance = pixels; }
