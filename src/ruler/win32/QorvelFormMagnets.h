#pragma once
// A form that snaps to the desktop and to the program's other forms while it is dragged.

#include <windows.h>

#include "gui/Forms.h"
#include "ruler/MagnetSnapping.h"

class TQorvelMagnetForm : public TForm {
 public:
  TQorvelMagnetAllies MagnetAllies() const { return FMagnetAllies; }
  void SetMagnetAllies(TQorvelMagnetAllies allies) { FMagnetAllies = allies; }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  // The rectangles this form may snap to right now.
  TMagnetSurroundings Surroundings() const;
  TMagnetFormState FormState() const;
  virtual void PositionChanging(WINDOWPOS& position);

 private:
  TQorvelMagnetAllies FMagnetAllies = kDefaultMagnetAllies;
};

TWindowPosProposal ProposalFrom(const WINDOWPOS& position);
void ApplyProposal(WINDOWPOS& position, const TWindowPosProposal& proposal);
