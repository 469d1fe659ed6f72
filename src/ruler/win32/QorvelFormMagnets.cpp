#include "ruler/win32/QorvelFormMagnets.h"

#include "gui/Pixels.h"

TWindowPosProposal ProposalFrom(const WINDOWPOS& position) {
  TWindowPosProposal proposal;
  proposal.X = position.x;
  proposal.Y = position.y;
  proposal.Width = position.cx;
  proposal.Height = position.cy;
  proposal.NoMove = (position.flags & SWP_NOMOVE) != 0;
  proposal.NoSize = (position.flags & SWP_NOSIZE) != 0;
  proposal.ShowWindow = (position.flags & SWP_SHOWWINDOW) != 0;
  return proposal;
}

void ApplyProposal(WINDOWPOS& position, const TWindowPosProposal& proposal) {
  position.x = proposal.X;
  position.y = proposal.Y;
  position.cx = proposal.Width;
  position.cy = proposal.Height;
}

TMagnetSurroundings TQorvelMagnetForm::Surroundings() const {
  TMagnetSurroundings surroundings;
  surroundings.Screen = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  RECT workArea{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
  surroundings.WorkArea = ToPixelRect(workArea);
  for (const TForm* form : TForm::Forms()) {
    if (form == this || !form->HandleAllocated()) continue;
    surroundings.OtherForms.push_back({ToPixelRect(form->BoundsRect()), form->Visible()});
  }
  return surroundings;
}

TMagnetFormState TQorvelMagnetForm::FormState() const {
  return {Visible(), Handle() && ::IsZoomed(Handle()) != FALSE, ToPixelRect(BoundsRect())};
}

void TQorvelMagnetForm::PositionChanging(WINDOWPOS& position) {
  const TWindowPosProposal snapped =
      MagnetPositionChanging(FormState(), ProposalFrom(position), Surroundings(), FMagnetAllies, MagnetSnapDistance());
  ApplyProposal(position, snapped);
}

LRESULT TQorvelMagnetForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_WINDOWPOSCHANGING) {
    PositionChanging(*reinterpret_cast<WINDOWPOS*>(lParam));
    return TForm::HandleMessage(message, wParam, lParam);
  }
  return TForm::HandleMessage(message, wParam, lParam);
}
