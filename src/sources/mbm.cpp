#include "sources/mbm.h"

void MbmTest(MbmLink& link, PresenceFlags& flags, MessageBoxes& boxes, const QString& appTitle) {
    flags.MbmPresent = true;
    link.heldOpen = SharedMemory::openReadOnly(link.blockName);
    if (!link.heldOpen) {
        boxes.show(appTitle,
                   QStringLiteral("Vous n'avez pas lancer motherBoard Monitor.\n\r"
                                  "Vous ne pourrais pas accéder aux variables de Mbm"),
                   MessageIcon::Information);
        flags.MbmPresent = false;
    }
}
