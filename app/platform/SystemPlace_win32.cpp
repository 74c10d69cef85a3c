#include "app/platform/SystemPlace_win32.h"

#include "app/registry/Registry_win32.h"
#include "app/runcmd/CommandText.h"

RunCommandPlace SystemRunCommandPlace() {
    return {{ToRegKey(HKEY_LOCAL_MACHINE), ToRegKey(HKEY_CURRENT_USER)}, kAppPathsKey};
}
