// The iteration tool's window side: the lists of the tool (lent to the tools), and the dialog
// "Iteración" that stays open while the tool is active.
#pragma once

#include "app/controllers/featurecontext.h"
#include "model/iteration.h"

#include <QObject>

namespace qorv {

class TV_iterac;

class IterationController : public QObject {
    Q_OBJECT
  public:
    explicit IterationController(const FeatureContext& context);

    IterationWorkspace& lists() { return lists_; }
    // The dialog (null before the tool's first use).
    TV_iterac* dialog() const { return dialog_; }

  private:
    // The dialog shows with the iteration tool and hides with any other.
    void toolChanged(int tool);
    void createIteration();

    FeatureContext ctx_;
    IterationWorkspace lists_;
    TV_iterac* dialog_ = nullptr;
};

} // namespace qorv
