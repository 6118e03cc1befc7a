// Resource IDs of the companion, for vigilo.rc and the code alike.
#pragma once

#define IDI_VIGILO 1
#define IDI_IMGVIGILO1 201
