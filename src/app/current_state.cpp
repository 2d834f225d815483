#include "app/current_state.h"

namespace {
AppStateBase* theCurrentState = nullptr;
}

AppStateBase* currentState() { return theCurrentState; }
void setCurrentState(AppStateBase* state) { theCurrentState = state; }
