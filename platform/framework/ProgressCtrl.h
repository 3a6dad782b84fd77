// ProgressCtrl: the progress bar control. A subclass may draw the bar itself
// (OnPaint) and still keep its range and position in the control.
#pragma once

#include "platform/framework/Window.h"

namespace qm::fw {

class ProgressCtrl : public Window {
 public:
  virtual bool Create(DWORD style, const RECT& rect, Window* parent, UINT id);
  void SetRange(short lower, short upper);
  void SetRange32(int lower, int upper);
  void GetRange(int& lower, int& upper) const;
  // Each returns the previous position; the control keeps positions inside
  // its range.
  int SetPos(int position);
  int GetPos() const;
  int OffsetPos(int delta);
  int SetStep(int step);
  int StepIt();
};

}  // namespace qm::fw
