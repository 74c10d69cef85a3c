#pragma once

#define IDD_PLAIN_DIALOG 102
