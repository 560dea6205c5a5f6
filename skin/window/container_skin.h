// Containers: common controls that paint themselves (tool bars, tabs, status
// bars...) composited over the skin background, their children skinned as
// those of a panel.
#pragma once

#include <windows.h>

class SkinState;

// Records the window as a container of form F, makes it a panel (its
// children are skinned) and installs ContainerProc. Returns the container's
// 1-based index; 0 when it is a container of the form already.
int AttachContainer(SkinState& engine, int formIndex, HWND window);

// Every direct "ToolbarWindow32" child of parent becomes a container of F.
void AttachToolbars(SkinState& engine, int formIndex, HWND parent);

// The procedure installed on containers.
LRESULT CALLBACK ContainerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
