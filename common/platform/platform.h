// The operating-system layer under the common library, by concern: disk, errors, paths, console
// and process. Including this header includes them all.
#pragma once

#include "common/platform/console.h"
#include "common/platform/disk.h"
#include "common/platform/errors.h"
#include "common/platform/paths.h"
#include "common/platform/process.h"
