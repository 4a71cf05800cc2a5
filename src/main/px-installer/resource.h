#pragma once

// Resource ids shared by the resource script and the program.
#define IDI_PX_INSTALLER 1
