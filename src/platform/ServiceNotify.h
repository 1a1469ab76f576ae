#pragma once

// Tells the service manager that started this process (systemd, through $NOTIFY_SOCKET) that
// the service is ready, so that what waits for it starts only then. False when no manager
// asked for it, or when the message could not be sent.
bool notifyServiceReady();
