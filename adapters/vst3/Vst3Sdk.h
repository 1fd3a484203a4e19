#pragma once
// The VST 3 SDK's plug-in classes, included in the one order that works: the single-component
// effect gives the controller's state calls their own names (setEditorState, getEditorState)
// while the controller interface is declared, so it must come before any other header that
// declares that interface. Every adapter file includes the SDK through this header, first.

#include "public.sdk/source/vst/vstsinglecomponenteffect.h"

#include "base/source/fobject.h"
#include "pluginterfaces/base/ibstream.h"
#include "pluginterfaces/base/ustring.h"
#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcontextmenu.h"
#include "pluginterfaces/vst/ivsthostapplication.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"
#include "pluginterfaces/vst/ivstunits.h"
#include "public.sdk/source/common/pluginview.h"
#include "public.sdk/source/vst/vstparameters.h"
