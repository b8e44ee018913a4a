#include "viewers/ui/ViewerHost.h"

namespace orvo {

QString ViewerHost::ChooseDestination(QWidget* parent) const {
    return chooseDestination ? chooseDestination(parent) : QString();
}

} // namespace orvo
