#include "ApplicationController.h"
