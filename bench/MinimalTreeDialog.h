#pragma once

// Shared by the dialog template and its program.
#define IDD_MINIMAL_TREE 100
#define IDC_MINIMAL_TREE 1048
