// Resource identifiers shared by the .rc script and the code.
#pragma once

#define IDI_QELVANE 1
#define IDC_HANDPOINT 2
#define IDR_BACKGROUND 3
#define IDR_BANNER 4
