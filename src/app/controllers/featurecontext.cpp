#include "app/controllers/featurecontext.h"

#include "app/commands.h"

#include <QAction>

namespace qorv {

void FeatureContext::onCommand(CommandId id, QObject* receiver, std::function<void()> run) const {
    QObject::connect(commands.action(id), &QAction::triggered, receiver, std::move(run));
}

} // namespace qorv
