// Every public header of the Velmora library.
#pragma once

#include "velmora/CString.h"
#include "velmora/base64.h"
#include "velmora/humanize.h"
#include "velmora/icofile.h"
#include "velmora/linkdecode.h"
#include "velmora/logging.h"
#include "velmora/transform.h"
#include "velmora/url.h"
