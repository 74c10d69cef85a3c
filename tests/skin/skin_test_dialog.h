#pragma once

#define IDD_SKIN_TEST_DIALOG 300
