# Whether the Python module can be built here: pybind11 and numpy for the
# Python the system's packages serve (Debian's /usr/bin/python3, ahead of any
# other one on PATH, whose numpy would not be the packages').
if(NOT DEFINED Python3_EXECUTABLE AND EXISTS /usr/bin/python3)
  set(Python3_EXECUTABLE /usr/bin/python3 CACHE FILEPATH "The Python the module is built for")
endif()
find_package(Python3 COMPONENTS Interpreter Development.Module NumPy QUIET)
find_package(pybind11 CONFIG QUIET)
if(Python3_FOUND AND Python3_NumPy_FOUND AND pybind11_FOUND)
  set(TARVIC_PYTHON_AVAILABLE ON)
else()
  set(TARVIC_PYTHON_AVAILABLE OFF)
endif()
