#pragma once

#define IDD_TEST_DIALOG 200
#define IDC_TEST_EDIT 201
#define IDC_TEST_OWNERDRAW 202
