# The Debian packages, one per install component (scripts/package builds them).
set(TARVIC_PACKAGE_COMPONENTS lib dev cardsim)
if(TARVIC_BUILD_PANELS)
  list(APPEND TARVIC_PACKAGE_COMPONENTS panels)
endif()
if(TARVIC_BUILD_BANC)
  list(APPEND TARVIC_PACKAGE_COMPONENTS banc salle)
endif()
if(TARVIC_BUILD_PYTHON AND TARVIC_BUILD_BANC)
  list(APPEND TARVIC_PACKAGE_COMPONENTS python)
endif()
set(TARVIC_PACKAGE_lib libtarvic${PROJECT_VERSION_MAJOR})
set(TARVIC_PACKAGE_dev libtarvic-dev)
set(TARVIC_PACKAGE_panels tarvic-panels)
set(TARVIC_PACKAGE_cardsim tarvic-cardsim)
set(TARVIC_PACKAGE_banc tarvic-banc)
set(TARVIC_PACKAGE_python python3-tarvic)
set(TARVIC_PACKAGE_salle tarvic-salle)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarvic)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${TARVIC_MAINTAINER})
# Each package's summary is the first line of its component's description; an
# empty project summary keeps CPack from putting the project's before it.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "")
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)
set(CPACK_STRIP_FILES ON)
set(CPACK_COMPONENTS_ALL ${TARVIC_PACKAGE_COMPONENTS})
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SOURCE tarvic)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries' dependencies come from dpkg-shlibdeps; our own library, not
# installed yet, is found in the build tree and depended on by component.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${PROJECT_BINARY_DIR}/tarvic)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)

foreach(component ${TARVIC_PACKAGE_COMPONENTS})
  string(TOUPPER ${component} COMPONENT)
  set(CPACK_DEBIAN_${COMPONENT}_PACKAGE_NAME ${TARVIC_PACKAGE_${component}})
endforeach()

set(CPACK_DEBIAN_LIB_PACKAGE_SECTION libs)
# Qt's French texts are read at run time, out of dpkg-shlibdeps' sight.
set(CPACK_DEBIAN_LIB_PACKAGE_RECOMMENDS "fonts-liberation, fonts-urw-base35, qt6-translations-l10n")
set(CPACK_DEBIAN_LIB_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_SOURCE_DIR}/libtarvic/triggers)
set(CPACK_DEBIAN_LIB_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_COMPONENT_LIB_DESCRIPTION "library for the teaching benches of industrial control
libtarvic drives the benches of a teaching laboratory of industrial control
and automation through their interface cards: the serial link, one element
per bench, controllers (PID, discrete Z corrector, on/off), setpoint
generators, open-loop functions, the recording of measurement blocks, plot
axes, a formula renderer, synoptic drawings, two dialog controls and an
S-record reader.")

set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_COMPONENT_DEV_DEPENDS lib)
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS "qt6-base-dev")
set(CPACK_COMPONENT_DEV_DESCRIPTION "library for the teaching benches of industrial control - development files
libtarvic drives the benches of a teaching laboratory of industrial control
and automation through their interface cards.
This package holds what a controlling application is built with: the
headers, the CMake package (find_package(tarvic)) and the pkg-config file.")

set(CPACK_DEBIAN_PANELS_PACKAGE_SECTION education)
set(CPACK_COMPONENT_PANELS_DEPENDS lib)
# Qt finds its window-system plugins at run time, out of dpkg-shlibdeps' sight.
set(CPACK_DEBIAN_PANELS_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PANELS_PACKAGE_SUGGESTS "tarvic-cardsim")
set(CPACK_COMPONENT_PANELS_DESCRIPTION "process panels of four automation stations
Brakmor, Varnok, Quillon and Torvane are the one-window panels of four
automation stations of a teaching laboratory. Each reads the station's inputs
from its interface card every second and shows them, and switches the
station's outputs from check boxes. They are in the desktop menu under
Education.")

set(CPACK_DEBIAN_CARDSIM_PACKAGE_SECTION electronics)
# The card links none of our libraries nor Qt: dpkg-shlibdeps' C++ runtime is
# all it depends on, so that it installs on a machine without a desktop.
set(CPACK_COMPONENT_CARDSIM_DESCRIPTION "simulated interface card of the teaching benches
cardsim answers on a pseudo-terminal like the interface card of an automation
station or of a control bench (with the bench's plant model, control loop,
setpoint generator and recording in simulated time), so that the process
panels and controlling applications run without hardware. Fault modes (a
silent card, replies in pieces, noise, a hang-up) help to try how a program
copes.")

set(CPACK_DEBIAN_BANC_PACKAGE_SECTION education)
# Without a port, the console runs the bench on the simulated card.
set(CPACK_COMPONENT_BANC_DEPENDS lib cardsim)
set(CPACK_COMPONENT_BANC_DESCRIPTION "bench console: control experiments on the teaching benches
tarvic-banc runs a control experiment on any of the five control benches of
a teaching laboratory (water level, air flow and temperature, numerical
axis, motor and load, electrical load): it configures the bench's interface
card, runs the loop and the recording, summarises the step response and
writes the curves as CSV, a plot and an archive. Without a real card it runs
the bench on the simulated card.")

set(CPACK_DEBIAN_SALLE_PACKAGE_SECTION education)
# Only the teacher's PC of a room runs it: a package of its own, which the
# benches' PCs go without. It reads the broker only; the broker itself may
# run on that PC or elsewhere.
set(CPACK_COMPONENT_SALLE_DEPENDS lib)
set(CPACK_DEBIAN_SALLE_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_SALLE_PACKAGE_SUGGESTS "mosquitto, mosquitto-clients, tarvic-banc")
set(CPACK_COMPONENT_SALLE_DESCRIPTION "teacher's view of a laboratory room of teaching benches
tarvic-salle shows every bench console and station panel of a laboratory room
that publishes to the room's MQTT broker: each place's state, its live
measurement and trend, a station's bits and the figures and curves of the
last run; a place that stops reporting turns grey. The teacher stops a run,
sends a message or stops the whole room, after a confirmation, and the runs
of the session are kept in the room's run history.")

set(CPACK_DEBIAN_PYTHON_PACKAGE_SECTION python)
# Without a port, the module runs the bench on the simulated card.
set(CPACK_COMPONENT_PYTHON_DEPENDS lib cardsim)
# The module is built for one version of Python's interface, and imports
# numpy at run time, out of dpkg-shlibdeps' sight.
math(EXPR python_next_minor "${Python3_VERSION_MINOR} + 1")
set(CPACK_DEBIAN_PYTHON_PACKAGE_DEPENDS
  "python3 (>= ${Python3_VERSION_MAJOR}.${Python3_VERSION_MINOR}), python3 (<< ${Python3_VERSION_MAJOR}.${python_next_minor}), python3-numpy")
set(CPACK_DEBIAN_PYTHON_PACKAGE_SUGGESTS "python3-matplotlib, python3-pandas, python3-tqdm")
set(CPACK_COMPONENT_PYTHON_DESCRIPTION "Python module for control experiments on the teaching benches
The tarvic module runs the experiments of the bench console tarvic-banc from
Python and Jupyter notebooks: a step on any of the five control benches, its
curves as numpy arrays, its step figures, the identification of the process,
the tuning of the loop and the relay test, on the bench's interface card or
on its simulated card.")

include(CPack)
