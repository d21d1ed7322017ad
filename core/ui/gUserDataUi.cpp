#include "core/ui/gUserDataUi.h"

#include "core/base/gError.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gResIds.h"
#include "core/ui/gResources.h"
#include "core/ui/gStartup.h"
#include "core/model/gState.h"
#include "core/model/gUserData.h"

#include <QFileInfo>
#include <QImage>
#include <QImageReader>

bool gLoadUserData() {
    // Each "read again" of the choices comes back here rather than nesting.
    for (;;) {
        qsizetype groups = 0;
        int systemError = 0;
        // A profile of only its key names no account: nobody could sign in to it.
        if (gReadUserData(groups, systemError) && groups > 0) return true;
        // One the system will not give us may be whole: never offer to replace it.
        const gBadProfileRoad road =
            systemError ? gUnreadableProfileChoices(systemError) : gBadProfileChoices();
        if (road == gBadProfileRoad::Done) return false;
    }
}

QPixmap gLoadUserPicture(int pictureIndex) {
    try {
        if (pictureIndex == 12) {
            if (!QFileInfo(gPictureFile).isFile())
                return gLoadResPicture(Res::OwnPictureMissing, gResKind::Bitmap);
            // The copy keeps no extension of its own; the content says what it is.
            QImageReader reader(gPictureFile);
            reader.setDecideFormatFromContent(true);
            const QImage image = reader.read();
            if (image.isNull()) gRaise(gErr::InvalidPicture);
            return QPixmap::fromImage(image);
        }
        return gLoadResPicture(Res::FirstAccountPicture + pictureIndex, gResKind::Bitmap);
    } catch (...) {
        gShowErrorBox(true);
        return {};
    }
}
