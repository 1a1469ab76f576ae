#include "render/VariableCatalogue.h"

#include <QCoreApplication>

// Memory figures are grouped by thousands in most locales and soon pass 32767 Mo: a bar cannot
// read them. The time and date texts hold separators.
QList<CatalogueVariable> variableCatalogue() {
    using G = VariableGroup;
    QList<CatalogueVariable> list = {
        {G::System, "%%mem_t",
         QCoreApplication::translate("VariableCatalogue", "mémoire totale (Mo)")},
        {G::System, "%%mem_u",
         QCoreApplication::translate("VariableCatalogue", "mémoire utilisée (Mo)")},
        {G::System, "%%mem_l",
         QCoreApplication::translate("VariableCatalogue", "mémoire libre (Mo)")},
        {G::System, "%%memp_t",
         QCoreApplication::translate("VariableCatalogue", "mémoire avec swap, totale (Mo)")},
        {G::System, "%%memp_u",
         QCoreApplication::translate("VariableCatalogue", "mémoire avec swap, utilisée (Mo)")},
        {G::System, "%%memp_l",
         QCoreApplication::translate("VariableCatalogue", "mémoire avec swap, libre (Mo)")},
        {G::System, "%%date", QCoreApplication::translate("VariableCatalogue", "date")},
        {G::System, "%%time", QCoreApplication::translate("VariableCatalogue", "heure")},
        {G::System, "%%ipext",
         QCoreApplication::translate("VariableCatalogue", "adresses IP de la machine")},
        {G::System, "%%big_time",
         QCoreApplication::translate("VariableCatalogue", "grande horloge sur tout l'afficheur")},
    };
    for (int k = 1; k <= 10; ++k) {
        list.append({G::Sensors, QStringLiteral("%%temp%1").arg(k),
                     QCoreApplication::translate("VariableCatalogue", "température %1 (°C)").arg(k),
                     true});
    }
    for (int k = 1; k <= 7; ++k) {
        list.append({G::Sensors, QStringLiteral("%%volt%1").arg(k),
                     QCoreApplication::translate("VariableCatalogue", "tension %1 (V)").arg(k),
                     true});
    }
    for (int k = 1; k <= 7; ++k) {
        list.append(
            {G::Sensors, QStringLiteral("%%fan%1").arg(k),
             QCoreApplication::translate("VariableCatalogue", "ventilateur %1 (tr/min)").arg(k),
             true});
    }
    list += {
        {G::Sensors, "%%frq",
         QCoreApplication::translate("VariableCatalogue", "fréquence du processeur (MHz)"), true},
        {G::Sensors, "%%charge",
         QCoreApplication::translate("VariableCatalogue", "charge du processeur (%)"), true},
        {G::MediaPlayer, "%%winamp_titre",
         QCoreApplication::translate("VariableCatalogue", "titre du morceau")},
        {G::MediaPlayer, "%%winamp_artiste",
         QCoreApplication::translate("VariableCatalogue", "artiste")},
        {G::MediaPlayer, "%%winamp_album",
         QCoreApplication::translate("VariableCatalogue", "album")},
        {G::MediaPlayer, "%%winamp_annee",
         QCoreApplication::translate("VariableCatalogue", "année")},
        {G::MediaPlayer, "%%winamp_genre",
         QCoreApplication::translate("VariableCatalogue", "genre")},
        {G::MediaPlayer, "%%winamp_comment",
         QCoreApplication::translate("VariableCatalogue", "commentaire")},
        {G::MediaPlayer, "%%winamp_t_ecoule",
         QCoreApplication::translate("VariableCatalogue", "temps écoulé (mm:ss)")},
        {G::MediaPlayer, "%%winamp_t_total",
         QCoreApplication::translate("VariableCatalogue", "durée du morceau (mm:ss)")},
        {G::MediaPlayer, "%%winamp_t_restant",
         QCoreApplication::translate("VariableCatalogue", "temps restant (mm:ss)")},
        {G::MediaPlayer, "%%winamp_s_ecoule",
         QCoreApplication::translate("VariableCatalogue", "temps écoulé (s)"), true},
        {G::MediaPlayer, "%%winamp_s_total",
         QCoreApplication::translate("VariableCatalogue", "durée du morceau (s)"), true},
        {G::MediaPlayer, "%%winamp_s_restant",
         QCoreApplication::translate("VariableCatalogue", "temps restant (s)"), true},
        {G::MediaPlayer, "%%winamp_position",
         QCoreApplication::translate("VariableCatalogue", "place dans la liste de lecture"), true},
        {G::MediaPlayer, "%%winamp_total",
         QCoreApplication::translate("VariableCatalogue", "morceaux dans la liste de lecture"),
         true},
        {G::MediaPlayer, "%%winamp_bit",
         QCoreApplication::translate("VariableCatalogue", "débit (kbit/s)"), true},
        {G::MediaPlayer, "%%winamp_sample",
         QCoreApplication::translate("VariableCatalogue", "échantillonnage (kHz)"), true},
        {G::Seti, "%%seti_progress",
         QCoreApplication::translate("VariableCatalogue", "avancement de l'unité de travail (%)"),
         true},
        {G::Seti, "%%seti_cache",
         QCoreApplication::translate("VariableCatalogue", "unités de travail en attente"), true},
        {G::Seti, "%%seti_fini",
         QCoreApplication::translate("VariableCatalogue", "unités de travail terminées"), true},
        {G::HalfLife, "%%HL_PlayerName",
         QCoreApplication::translate("VariableCatalogue", "nom du joueur")},
        {G::HalfLife, "%%HL_FPS",
         QCoreApplication::translate("VariableCatalogue", "images par seconde"), true},
        {G::HalfLife, "%%HL_PlayersSize",
         QCoreApplication::translate("VariableCatalogue", "joueurs"), true},
        {G::HalfLife, "%%HL_TeamsSize", QCoreApplication::translate("VariableCatalogue", "équipes"),
         true},
        {G::HalfLife, "%%HL_PlayerKill",
         QCoreApplication::translate("VariableCatalogue", "victimes du joueur"), true},
        {G::HalfLife, "%%HL_PlayerDeaths",
         QCoreApplication::translate("VariableCatalogue", "morts du joueur"), true},
        // The names in parentheses are the user's to write: an entry of [valeurs], a topic.
        {G::Outside, "%%val(nom)",
         QCoreApplication::translate("VariableCatalogue",
                                     "la valeur « nom » de [valeurs] (commande ou fichier)")},
        {G::Outside, "%%mqtt(sujet)",
         QCoreApplication::translate("VariableCatalogue", "le dernier message d'un sujet MQTT")},
        {G::Outside, "%%mqtt(sujet|champ)",
         QCoreApplication::translate("VariableCatalogue",
                                     "un champ du dernier message JSON d'un sujet MQTT")},
    };
    return list;
}

QString groupLabel(VariableGroup group) {
    switch (group) {
    case VariableGroup::System:
        return QCoreApplication::translate("VariableCatalogue", "Système");
    case VariableGroup::Sensors:
        return QCoreApplication::translate("VariableCatalogue", "Capteurs");
    case VariableGroup::MediaPlayer:
        return QCoreApplication::translate("VariableCatalogue", "Lecteur multimédia");
    case VariableGroup::Seti:
        return QCoreApplication::translate("VariableCatalogue", "SETI@home");
    case VariableGroup::HalfLife:
        return QCoreApplication::translate("VariableCatalogue", "Half-Life");
    case VariableGroup::Outside:
        return QCoreApplication::translate("VariableCatalogue", "Valeurs et MQTT");
    }
    return {};
}
