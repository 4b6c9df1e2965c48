// Lines from sample to sample, for the plotters whose samples are joined in order.
#pragma once

#include "expr/stop_hook.h"
#include "graph/surface.h"

// A sample whose evaluation could not give its value (stopped, or refused as recursive or too
// large) is never drawn: it lifts the pen until the next sample that could.
class SampleTrail {
  public:
    explicit SampleTrail(Surface& surface) : surface_(surface) { evaluationIncomplete = 0; }

    // The point of the sample just evaluated: moved to after a lifted pen, else joined on.
    void to(int x, int y) {
        const bool failed = evaluationIncomplete != 0;
        evaluationIncomplete = 0;
        if (failed) {
            penUp_ = true;
            return;
        }
        if (penUp_)
            surface_.moveTo(x, y);
        else
            surface_.lineTo(x, y);
        penUp_ = false;
    }

  private:
    Surface& surface_;
    bool penUp_ = true;
};
