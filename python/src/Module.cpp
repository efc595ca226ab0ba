// The compiled core of the Python module: the console's engine behind a few
// objects; the package's pure-Python layer gives them their Python manners.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <memory>
#include <vector>

#include "BenchSession.h"
#include "Errors.h"
#include "Interruptible.h"
#include "LiveWatch.h"
#include "Sweep.h"
#include "Trial.h"

namespace py = pybind11;
using namespace banc::python;
using banc::Outcome;

namespace {

// Handed to numpy as it is: the array owns the vector's memory, no point is copied.
template <class T>
py::array_t<T> Owned(std::vector<T> values)
{
    auto* owned = new std::vector<T>(std::move(values));
    py::capsule release(owned, [](void* data) { delete static_cast<std::vector<T>*>(data); });
    return py::array_t<T>(static_cast<py::ssize_t>(owned->size()), owned->data(), release);
}

const char* StatusName(Outcome::Status status)
{
    switch (status) {
    case Outcome::Status::Finished: return "fini";
    case Outcome::Status::Interrupted: return "interrompu";
    case Outcome::Status::Silent: return "muette";
    case Outcome::Status::Lost: return "perdue";
    case Outcome::Status::Refused: return "refusee";
    }
    return "";
}

py::tuple OutcomeOf(const Outcome& outcome)
{
    return py::make_tuple(StatusName(outcome.status), tarvic::Latin1ToUtf8(outcome.message), outcome.unusable);
}

// The time of each point, as the CSV's first column: whole milliseconds in seconds.
std::vector<double> Times(const Trial& trial)
{
    const long long periodMs = std::llround(trial.PeriodSeconds() * 1000);
    std::vector<double> times(static_cast<std::size_t>(trial.Blocks() * banc::kPointsPerBlock));
    for (std::size_t i = 0; i < times.size(); ++i)
        times[i] = static_cast<double>(static_cast<long long>(i) * periodMs) / 1000.0;
    return times;
}

// A curve's frequencies, gains, gains in dB and phases, each an array of its own.
py::tuple CurveArrays(const std::vector<banc::analysis::BodePoint>& points)
{
    std::vector<double> hz, gain, db, phase;
    for (const banc::analysis::BodePoint& point : points) {
        hz.push_back(point.frequencyHz);
        gain.push_back(point.gain);
        db.push_back(point.gainDb);
        phase.push_back(point.phaseDeg);
    }
    return py::make_tuple(Owned(std::move(hz)), Owned(std::move(gain)), Owned(std::move(db)), Owned(std::move(phase)));
}

}  // namespace

PYBIND11_MODULE(_tarvic, module)
{
    module.doc() = "Noyau compil\u00e9 du module tarvic : le moteur de la console des bancs.";
    py::register_exception_translator([](std::exception_ptr thrown) {
        try {
            if (thrown) std::rethrow_exception(thrown);
        } catch (const UsageError& error) {
            PyErr_SetString(PyExc_ValueError, error.what());
        } catch (const SystemError& error) {
            // OSError(errno, text) becomes the subclass of its errno (FileNotFoundError...).
            if (error.Error() == 0)
                PyErr_SetString(PyExc_OSError, error.what());
            else
                PyErr_SetObject(PyExc_OSError, py::make_tuple(error.Error(), error.what()).ptr());
        }
    });

    module.def("est_parametre", &IsParameterName, py::arg("nom"));

    py::class_<Trial>(module, "Essai")
        .def(
            "executer",
            [](Trial& trial, const py::function& tick) {
                RunInterruptibly([&] { trial.Run(); }, [&] { trial.RequestStop(); },
                                 [&] { tick(trial.Acquired(), trial.Planned()); });
            },
            py::arg("tick"))
        .def_property_readonly("resultat", [](const Trial& trial) { return OutcomeOf(trial.Result()); })
        .def_property_readonly("numero", [](const Trial& trial) { return trial.Kept().number; })
        .def_property_readonly("historique",
                               [](const Trial& trial) { return tarvic::Latin1ToUtf8(trial.Kept().warning); })
        .def_property_readonly("blocs", &Trial::Blocks)
        .def_property_readonly("blocs_prevus", &Trial::Planned)
        .def_property_readonly("periode", &Trial::PeriodSeconds)
        .def_property_readonly("colonnes", &Trial::Columns)
        .def("valeurs", [](const Trial& trial, std::size_t column) { return Owned(trial.Values(column)); })
        .def("temps", [](const Trial& trial) { return Owned(Times(trial)); })
        .def("json", &Trial::Json)
        .def("texte", &Trial::Summary)
        .def("ecrire_csv", &Trial::WriteCsv, py::arg("chemin"), py::arg("format"))
        .def("ecrire_archive", &Trial::WriteArchive, py::arg("chemin"));

    py::class_<Sweep>(module, "Balayage")
        .def(
            "executer",
            [](Sweep& sweep, const py::function& tick) {
                RunInterruptibly([&] { sweep.Run(); }, [&] { sweep.RequestStop(); },
                                 [&] { tick(sweep.Measured(), sweep.Planned()); });
            },
            py::arg("tick"))
        .def_property_readonly("resultat", [](const Sweep& sweep) { return OutcomeOf(sweep.Result()); })
        .def_property_readonly("prevues", &Sweep::Planned)
        .def_property_readonly("avertissement", &Sweep::Warning)
        .def("json", &Sweep::Json)
        .def("texte", &Sweep::Text)
        .def("courbe_modele", [](const Sweep& sweep) { return CurveArrays(sweep.ModelCurve()); })
        .def("boucle_ouverte", [](const Sweep& sweep) { return CurveArrays(sweep.OpenLoop()); });

    py::class_<BenchSession>(module, "Session")
        .def(py::init<const Arguments&>(), py::arg("options"))
        .def(
            "configurer",
            [](BenchSession& session, const Arguments& options) {
                banc::Settings settings;
                banc::Elements elements;
                session.Read(options, settings);
                session.Configure(settings, elements);
            },
            py::arg("options"))
        .def(
            "parametres",
            [](BenchSession& session, const Arguments& options) {
                banc::Settings settings;
                session.Read(options, settings);
                return session.Parameters(settings);
            },
            py::arg("options"))
        .def(
            "essai",
            [](BenchSession& session, const Arguments& options) { return std::make_unique<Trial>(session, options); },
            py::arg("options"), py::keep_alive<0, 1>())
        .def(
            "bode",
            [](BenchSession& session, const Arguments& options) { return std::make_unique<Sweep>(session, options); },
            py::arg("options"), py::keep_alive<0, 1>())
        .def(
            "mesures",
            [](BenchSession& session, const Arguments& options) {
                LiveWatch watch(session, options);
                RunInterruptibly([&] { watch.Run(); }, [&] { watch.RequestStop(); }, [] {});
                return py::make_tuple(watch.Values(), OutcomeOf(watch.Result()));
            },
            py::arg("options"))
        .def("fermer", &BenchSession::Close)
        .def_property_readonly("ferme", &BenchSession::IsClosed)
        .def_property_readonly("port", &BenchSession::Port);
}
