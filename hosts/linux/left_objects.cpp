#include "hosts/linux/left_objects.h"

#include <cstdio>

#include "platform/standin/control.h"

namespace linux_host {

bool ReportLeftObjects() {
    const standin::LiveObjects left = standin::CountLiveObjects();
    if (left.pens == 0 && left.bitmaps == 0 && left.deviceContexts == 0 && left.windows == 0) {
        return true;
    }
    std::fprintf(stderr,
                 "colorlines: the saver ended holding %d pens, %d bitmaps, %d device contexts "
                 "and %d windows\n",
                 left.pens, left.bitmaps, left.deviceContexts, left.windows);
    return false;
}

}  // namespace linux_host
