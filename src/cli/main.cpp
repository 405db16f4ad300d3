// vornelle-cli: the engines without windows, for scripts and tests on real files. The command
// line is parsed by CLI11; messages are the program's French texts on standard error; exit 0
// on success, 1 when the operation was refused or failed, 2 for a usage error.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <iostream>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "base/version.h"
#include "commands.h"

namespace {
using vornelle::cli::Output;

// CLI11 reports usage errors in English: the phrases it uses, in French.
std::string french(std::string text) {
    const std::pair<const char*, const char*> phrases[] = {
        {"A subcommand is required", "Une commande est attendue"},
        {"The following arguments were not expected: ", "Arguments inattendus : "},
        {"The following argument was not expected: ", "Argument inattendu : "},
        {" is required", " est obligatoire"},
        {"Expected exactly ", "Attendu exactement "},
        {" arguments to ", " valeurs pour "},
        {", got ", ", reçu "},
        {"Could not convert: ", "Conversion impossible : "},
        {" requires ", " demande "},
    };
    for (auto [en, fr] : phrases)
        for (size_t at = text.find(en); at != std::string::npos; at = text.find(en, at + 1))
            text.replace(at, std::string(en).size(), fr);
    // "--depth: 1 required TEXTE missing"
    return std::regex_replace(text, std::regex(": [0-9]+ required (\\S+) missing"), " : valeur $1 manquante");
}

CLI::Option* text(CLI::App* c, const std::string& name, std::string& value, const std::string& what) {
    return c->add_option(name, value, what)
        ->type_name("TEXTE")
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
}
CLI::Option* text(CLI::App* c, const std::string& name, std::optional<std::string>& value,
                  const std::string& what) {
    return c->add_option(name, value, what)
        ->type_name("TEXTE")
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
}

// The French labels of the help, the version and the footer every help page ends with.
void describe(CLI::App& app) {
    app.get_formatter()->label("Usage", "Utilisation");
    app.get_formatter()->label("OPTIONS", "OPTIONS");
    app.get_formatter()->label("SUBCOMMAND", "COMMANDE");
    app.get_formatter()->label("Positionals", "Arguments");
    app.get_formatter()->label("REQUIRED", "OBLIGATOIRE");
    app.get_formatter()->label("TEXT", "TEXTE");
    app.set_help_flag("-h,--help", "Affiche cette aide et s'arrête");
    app.set_version_flag("--version", std::string("vornelle-cli ") + vornelle::kVersion,
                         "Affiche la version et s'arrête");
    app.require_subcommand(1);
    app.option_defaults()->group("Options");
    app.footer(
        "Sortie : 0 réussi, 1 refusé ou échoué, 2 erreur d'utilisation.\n\n"
        "vornelle-cli joue sur la machine simulée. Pour que Vornelle pilote un port parallèle réel "
        "(pilote ppdev : LPT1 /dev/parport0, LPT2 /dev/parport1) :\n"
        "  sudo modprobe ppdev         charge le pilote (ajouter ppdev à /etc/modules pour le garder)\n"
        "  sudo adduser $USER lp       le port appartient au groupe lp ; se reconnecter ensuite\n"
        "  sudo systemctl stop cups    un service d'impression peut tenir le port\n"
        "Guide : /usr/share/doc/vornelle/guide.md");
}

CLI::App* addGenerate(CLI::App& app, vornelle::cli::GenerateArgs& gen) {
    CLI::App* generate = app.add_subcommand(
        "generate", "Fichier découpe NOM.def et détails NOM.det, comme \"Créer fichier fraisage (DEF)\"");
    generate->add_option("DESSIN", gen.drawing, "Dessin FRA")->required()->type_name("");
    generate->add_option("NOM", gen.name, "Nom de la découpe")->required()->type_name("");
    text(generate, "--scale", gen.scale, "Facteur d'échelle (virgule décimale)")->required();
    text(generate, "--depth", gen.depth, "Profondeur de passe")->required();
    text(generate, "--note", gen.note, "Note du fichier détails")->required();
    text(generate, "--feed-in", gen.feedIn, "Vitesse dans la matière (sinon celle de la configuration)");
    text(generate, "--feed-out", gen.feedOut, "Vitesse hors de la matière (sinon celle de la configuration)");
    text(generate, "--tool-diameter", gen.toolDiameter, "Diamètre de l'outil en mm (virgule ou point)");
    text(generate, "--compensation", gen.compensation, "auto, exterieur, interieur ou trait");
    text(generate, "--step-down", gen.stepDown, "Profondeur par passe en mm");
    text(generate, "--tabs", gen.tabs, "Nombre d'attaches par contour extérieur");
    text(generate, "--tab-width", gen.tabWidth, "Largeur des attaches en mm, le long du chemin de l'outil");
    text(generate, "--tab-height", gen.tabHeight, "Hauteur des attaches en mm");
    text(generate, "--direction", gen.direction, "Sens de coupe : conventionnel ou avalant");
    text(generate, "--accel-x", gen.accelX, "Rampes : accélération de X en mm/s² (les cinq ensemble)")
        ->type_name("A");
    text(generate, "--accel-y", gen.accelY, "Rampes : accélération de Y en mm/s²")->type_name("A");
    text(generate, "--accel-z", gen.accelZ, "Rampes : accélération de Z en mm/s²")->type_name("A");
    text(generate, "--start-speed", gen.startSpeed, "Rampes : vitesse de démarrage et d'arrêt en mm/s")
        ->type_name("V");
    text(generate, "--corner", gen.corner, "Rampes : déviation en angle en mm")->type_name("D");
    return generate;
}

CLI::App* addGenerateGcode(CLI::App& app, vornelle::cli::GenerateGcodeArgs& g) {
    CLI::App* c = app.add_subcommand(
        "generate-gcode", "Programme G-code en fichier découpe NOM.def et détails NOM.det (et NOM.rythme)");
    c->add_option("PROGRAMME", g.program, "Programme G-code (.nc, .ngc, .gcode, .tap, .cnc)")
        ->required()
        ->type_name("");
    c->add_option("NOM", g.name, "Nom de la découpe")->required()->type_name("");
    text(c, "--scale", g.scale, "Facteur d'échelle de X et Y (1 par défaut ; la profondeur ne change pas)");
    text(c, "--arc-tolerance", g.tolerance,
         "Écart maximal entre un arc et ses cordes, en mm (0,01 par défaut)")
        ->type_name("T");
    return c;
}

CLI::App* addPlay(CLI::App& app, vornelle::cli::PlayArgs& play) {
    CLI::App* playCommand = app.add_subcommand(
        "play", "Joue le fichier découpe sur la machine simulée, sans délai, en répondant Oui");
    playCommand->add_option("DECOUPE", play.cut, "Fichier découpe DEF")->required()->type_name("");
    text(playCommand, "--trace", play.trace, "Écrit chaque octet envoyé au port dans ce fichier")
        ->type_name("FICHIER");
    CLI::Option* paced = playCommand->add_flag(
        "--paced", play.paced, "Joue au rythme de la découpe (vitesses et coefficient de la configuration)");
    playCommand
        ->add_flag("--virtual-clock", play.virtualClock,
                   "Avec --paced : aucune pause n'est attendue, chacune s'ajoute exactement à une horloge "
                   "(10 ns par itération) qui part de 0 à la première écriture")
        ->needs(paced);
    CLI::Option* homeCheck = playCommand->add_flag(
        "--home-check", play.homeCheck,
        "Contrôle de position : prise d'origine, découpe, prise d'origine, et les pas perdus");
    text(playCommand, "--repeatability", play.repeatability,
         "Avec --home-check : écart admis entre deux prises d'origine, en pas")
        ->type_name("R")
        ->needs(homeCheck);
    text(playCommand, "--lose-steps", play.loseSteps,
         "Avec --home-check : la machine simulée saute un pas sur N envoyés à AXE vers le plus (X:1000)")
        ->type_name("AXE:N")
        ->needs(homeCheck);
    text(playCommand, "--timing", play.timing,
         "Avec --paced : écrit pour chaque écriture sur le port les nanosecondes depuis la première et "
         "l'octet")
        ->type_name("FICHIER");
    playCommand
        ->add_option("--stop-after", play.stopAfter,
                     "S'arrête après l'enregistrement N comme « Arret d'urgence » et garde NOM.reprise")
        ->type_name("N");
    playCommand->add_flag("--resume", play.resume, "Reprend la découpe arrêtée depuis NOM.reprise");
    return playCommand;
}

CLI::App* addCheck(CLI::App& app, vornelle::cli::CheckArgs& checkArgs) {
    CLI::App* checkCommand = app.add_subcommand(
        "check", "Décode le fichier découpe comme la découpe le jouera : pas, fin, étendue, durée exacte");
    checkCommand->add_option("DECOUPE", checkArgs.cut, "Fichier découpe DEF")->required()->type_name("");
    text(checkCommand, "--feed-in", checkArgs.feedIn,
         "Vitesse dans la matière (sinon celle de la configuration)");
    text(checkCommand, "--feed-out", checkArgs.feedOut,
         "Vitesse hors de la matière (sinon celle de la configuration)");
    text(checkCommand, "--png", checkArgs.png, "Dessine le trajet XY décodé dans cette image PNG")
        ->type_name("FICHIER");
    text(checkCommand, "--size", checkArgs.size, "Taille de l'image en pixels (800x600 par défaut)")
        ->type_name("LxH");
    return checkCommand;
}

CLI::App* addLatency(CLI::App& app, vornelle::cli::LatencyArgs& latencyArgs) {
    CLI::App* latencyCommand = app.add_subcommand(
        "latency",
        "Mesure la régularité des pauses de la découpe sur cet ordinateur (à lancer avant de découper)");
    text(latencyCommand, "--seconds", latencyArgs.seconds, "Durée de la mesure en secondes (2 par défaut)")
        ->type_name("S");
    text(latencyCommand, "--delay-us", latencyArgs.delayUs,
         "Longueur de chaque pause en microsecondes (100 par défaut)")
        ->type_name("D");
    return latencyCommand;
}

// import-dxf (dxf) or import-dat; the --entry texts are kept as typed and checked by CLI11.
CLI::App* addImport(CLI::App& app, bool dxf, vornelle::cli::ImportArgs& import,
                    std::vector<std::string>& entryTexts) {
    import.dxf = dxf;
    CLI::App* c = app.add_subcommand(dxf ? "import-dxf" : "import-dat",
                                     dxf ? "Importe un dessin DXF et l'enregistre en NOM.fra"
                                         : "Importe un profil DAT et l'enregistre en NOM.fra");
    c->add_option(dxf ? "DESSIN" : "PROFIL", import.file, dxf ? "Dessin DXF" : "Profil DAT")
        ->required()
        ->type_name("");
    c->add_option("NOM", import.name, "Nom du dessin FRA, sans extension")->required()->type_name("");
    c->add_option("--entry", entryTexts,
                  "Point d'entrée : double clic sur l'enregistrement INDICE de \"Nouvel ordre\" puis "
                  "\"Valider\" avec le numéro d'ordre NUMERO ; répétable, dans l'ordre donné. "
                  "\"Réorganisation coupes\" suit le dernier.")
        ->type_name("INDICE=NUMERO")
        ->allow_extra_args(false)
        ->check(CLI::Validator(
            [](std::string& t) {
                return vornelle::cli::parseEntry(t) ? std::string()
                                                    : t + " : attendu INDICE=NUMERO, INDICE en chiffres";
            },
            "", "entrée"));
    c->add_flag("--auto-order", import.autoOrder,
                "Ordre automatique : trous avant contours, points d'entrée et ordre choisis pour le moins "
                "de déplacements hors matière, puis \"Réorganisation coupes\"");
    if (!dxf) return c;
    CLI::Option* extended = c->add_flag(
        "--extended", import.extended,
        "Import complet : LWPOLYLINE, ARC, ELLIPSE, SPLINE, blocs (INSERT), courbes en segments et "
        "morceaux joints en contours");
    text(c, "--tolerance", import.tolerance,
         "Écart maximal entre un segment et sa courbe, en unités du dessin (0,01 par défaut)")
        ->type_name("T")
        ->needs(extended);
    text(c, "--join", import.join,
         "Distance en dessous de laquelle deux extrémités se joignent (0,001 par défaut)")
        ->type_name("J")
        ->needs(extended);
    return c;
}

// Every command's arguments and its subcommand, in the order the help lists them.
struct Commands {
    vornelle::cli::GenerateArgs gen;
    vornelle::cli::GenerateGcodeArgs gcode;
    vornelle::cli::PlayArgs play;
    vornelle::cli::CheckArgs check;
    vornelle::cli::LatencyArgs latency;
    vornelle::cli::ImportArgs imports[2];
    std::vector<std::string> entryTexts[2];
    CLI::App* generateCommand;
    CLI::App* gcodeCommand;
    CLI::App* playCommand;
    CLI::App* checkCommand;
    CLI::App* latencyCommand;
    CLI::App* importCommands[2];

    explicit Commands(CLI::App& app) {
        generateCommand = addGenerate(app, gen);
        gcodeCommand = addGenerateGcode(app, gcode);
        gcodeCommand->group("Commandes");
        playCommand = addPlay(app, play);
        checkCommand = addCheck(app, check);
        latencyCommand = addLatency(app, latency);
        for (int k = 0; k < 2; ++k) importCommands[k] = addImport(app, k == 0, imports[k], entryTexts[k]);
        for (CLI::App* c : {generateCommand, playCommand, checkCommand, latencyCommand, importCommands[0],
                            importCommands[1]})
            c->group("Commandes");
    }

    // The exit status of the command given.
    int run(Output& out) {
        if (generateCommand->parsed()) return vornelle::cli::generate(gen, out);
        if (gcodeCommand->parsed()) return vornelle::cli::generateGcode(gcode, out);
        if (playCommand->parsed()) return vornelle::cli::play(play, out);
        if (checkCommand->parsed()) return vornelle::cli::check(check, out);
        if (latencyCommand->parsed()) return vornelle::cli::latency(latency, out);
        int code = 2;
        for (int k = 0; k < 2; ++k) {
            if (!importCommands[k]->parsed()) continue;
            for (const std::string& t : entryTexts[k])
                imports[k].entries.push_back(*vornelle::cli::parseEntry(t));
            code = vornelle::cli::importDrawing(imports[k], out);
        }
        return code;
    }
};

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{
        "Vornelle sans fenêtres : les mêmes moteurs que le programme, pour les scripts et les essais.",
        "vornelle-cli"};
    describe(app);
    Commands commands(app);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        std::string what = e.what();
        if (app.get_subcommands().empty() && argc > 1 && argv[1][0] != '-')
            what = std::string("commande inconnue : ") + argv[1];
        std::fprintf(stderr, "%s\nAide : vornelle-cli --help, vornelle-cli COMMANDE --help\n",
                     french(what).c_str());
        return 2;
    }
    Output out;
    int code = commands.run(out);
    if (!out.error.empty()) std::fprintf(stderr, "%s\n", out.error.c_str());
    if (!out.json.empty()) std::printf("%s\n", out.json.c_str());
    return code;
}
