// The copy dialog's progress bar. The control keeps its range and position;
// the bar draws itself: a blue fill, a white remainder and the percentage in
// the middle, white over blue and black over white, so the text changes
// colour exactly where the fill edge crosses it. Each paint is composed off
// screen and reaches the screen in one copy.
#pragma once

#include "platform/framework/DC.h"
#include "platform/framework/GdiObject.h"
#include "platform/framework/ProgressCtrl.h"

class ProgressBar : public qm::fw::ProgressCtrl {
 public:
  // Sets the position and has the whole bar drawn at the next paint.
  void SetPosAndRedraw(int position);

 protected:
  void OnPaint() override;

 private:
  // The buffer keeps the size the control had at its first paint. The DC
  // goes before the bitmap selected into it.
  qm::fw::Bitmap bufferBitmap;
  qm::fw::DC memoryDC;
  bool bufferReady = false;
};
