<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>EditCommands</name>
    <message>
        <source>Change</source>
        <translation>Ändern</translation>
    </message>
    <message>
        <source>Coastal castle fix</source>
        <translation>Häfen an der Küste</translation>
    </message>
    <message>
        <source>Remove animals</source>
        <translation>Tiere entfernen</translation>
    </message>
</context>
<context>
    <name>StartsTable</name>
    <message>
        <source>Sites</source>
        <translation>Bauplätze</translation>
    </message>
    <message>
        <source>Huts</source>
        <translation>Hütten</translation>
    </message>
    <message>
        <source>Houses</source>
        <translation>Häuser</translation>
    </message>
    <message>
        <source>Castles</source>
        <translation>Burgen</translation>
    </message>
    <message>
        <source>Mines</source>
        <translation>Bergwerke</translation>
    </message>
    <message>
        <source>Coal</source>
        <translation>Kohle</translation>
    </message>
    <message>
        <source>Iron</source>
        <translation>Eisen</translation>
    </message>
    <message>
        <source>Gold</source>
        <translation>Gold</translation>
    </message>
    <message>
        <source>Granite</source>
        <translation>Granit</translation>
    </message>
    <message>
        <source>Trees</source>
        <translation>Bäume</translation>
    </message>
    <message>
        <source>Stones</source>
        <translation>Steine</translation>
    </message>
    <message>
        <source>Water</source>
        <translation>Wasser</translation>
    </message>
    <message>
        <source>Fish</source>
        <translation>Fische</translation>
    </message>
    <message>
        <source>To mine</source>
        <translation>Bis Bergwerk</translation>
    </message>
    <message>
        <source>No headquarters is marked on the map.</source>
        <translation>Auf der Karte ist kein Hauptquartier markiert.</translation>
    </message>
    <message>
        <source>The map&apos;s layers do not hold all its points.</source>
        <translation>Die Datenebenen der Karte enthalten nicht alle ihre Punkte.</translation>
    </message>
    <message>
        <source>Within %1 steps; least even: %2 (%3)</source>
        <translation>Im Umkreis von %1 Schritten; am ungleichsten: %2 (%3)</translation>
    </message>
    <message>
        <source>%1: smallest / largest %2</source>
        <translation>%1: kleinster / größter Wert %2</translation>
    </message>
    <message>
        <source>P%1</source>
        <translation>S%1</translation>
    </message>
    <message>
        <source>Player %1: headquarters at %2 x %3</source>
        <translation>Spieler %1: Hauptquartier bei %2 x %3</translation>
    </message>
    <message>
        <source>none</source>
        <translation>keins</translation>
    </message>
</context>
<context>
    <name>core</name>
    <message>
        <source>Greenland</source>
        <translation>Grünland</translation>
    </message>
    <message>
        <source>Wasteland</source>
        <translation>Ödland</translation>
    </message>
    <message>
        <source>Winter</source>
        <translation>Winterwelt</translation>
    </message>
    <message>
        <source>Rabbit</source>
        <translation>Hase</translation>
    </message>
    <message>
        <source>Fox</source>
        <translation>Fuchs</translation>
    </message>
    <message>
        <source>Stag</source>
        <translation>Hirsch</translation>
    </message>
    <message>
        <source>Deer</source>
        <translation>Reh</translation>
    </message>
    <message>
        <source>Duck</source>
        <translation>Ente</translation>
    </message>
    <message>
        <source>Sheep</source>
        <translation>Schaf</translation>
    </message>
    <message>
        <source>Donkey</source>
        <translation>Esel</translation>
    </message>
    <message>
        <source>Land</source>
        <translation>Land</translation>
    </message>
    <message>
        <source>Water</source>
        <translation>Wasser</translation>
    </message>
    <message>
        <source>savannah</source>
        <translation>Savanne</translation>
    </message>
    <message>
        <source>mountain</source>
        <translation>Berg</translation>
    </message>
    <message>
        <source>snow</source>
        <translation>Schnee</translation>
    </message>
    <message>
        <source>swamp</source>
        <translation>Sumpf</translation>
    </message>
    <message>
        <source>desert</source>
        <translation>Wüste</translation>
    </message>
    <message>
        <source>water</source>
        <translation>Wasser</translation>
    </message>
    <message>
        <source>shallow water</source>
        <translation>seichtes Wasser</translation>
    </message>
    <message>
        <source>meadow</source>
        <translation>Wiese</translation>
    </message>
    <message>
        <source>steppe</source>
        <translation>Steppe</translation>
    </message>
    <message>
        <source>flower meadow</source>
        <translation>Blumenwiese</translation>
    </message>
    <message>
        <source>lava</source>
        <translation>Lava</translation>
    </message>
    <message>
        <source>mountain meadow</source>
        <translation>Bergwiese</translation>
    </message>
    <message>
        <source>buildable mountain</source>
        <translation>bebaubarer Berg</translation>
    </message>
    <message>
        <source>harbour</source>
        <translation>Hafen</translation>
    </message>
    <message>
        <source>nothing</source>
        <translation>nichts</translation>
    </message>
    <message>
        <source>flag</source>
        <translation>Fahne</translation>
    </message>
    <message>
        <source>hut</source>
        <translation>Hütte</translation>
    </message>
    <message>
        <source>house</source>
        <translation>Haus</translation>
    </message>
    <message>
        <source>castle</source>
        <translation>Burg</translation>
    </message>
    <message>
        <source>mine</source>
        <translation>Bergwerk</translation>
    </message>
    <message>
        <source>headquarters</source>
        <translation>Hauptquartier</translation>
    </message>
    <message>
        <source>tree</source>
        <translation>Baum</translation>
    </message>
    <message>
        <source>decoration</source>
        <translation>Dekoration</translation>
    </message>
    <message>
        <source>granite</source>
        <translation>Granit</translation>
    </message>
    <message>
        <source>pine</source>
        <translation>Kiefer</translation>
    </message>
    <message>
        <source>birch</source>
        <translation>Birke</translation>
    </message>
    <message>
        <source>oak</source>
        <translation>Eiche</translation>
    </message>
    <message>
        <source>palm</source>
        <translation>Palme</translation>
    </message>
    <message>
        <source>pineapple</source>
        <translation>Ananas</translation>
    </message>
    <message>
        <source>cypress</source>
        <translation>Zypresse</translation>
    </message>
    <message>
        <source>cherry</source>
        <translation>Kirschbaum</translation>
    </message>
    <message>
        <source>fir</source>
        <translation>Tanne</translation>
    </message>
    <message>
        <source>outside the map</source>
        <translation>außerhalb der Karte</translation>
    </message>
    <message>
        <source>building sites</source>
        <translation>Bauplätze</translation>
    </message>
    <message>
        <source>huts</source>
        <translation>Hütten</translation>
    </message>
    <message>
        <source>houses</source>
        <translation>Häuser</translation>
    </message>
    <message>
        <source>castles</source>
        <translation>Burgen</translation>
    </message>
    <message>
        <source>mines</source>
        <translation>Bergwerke</translation>
    </message>
    <message>
        <source>coal</source>
        <translation>Kohle</translation>
    </message>
    <message>
        <source>iron</source>
        <translation>Eisen</translation>
    </message>
    <message>
        <source>gold</source>
        <translation>Gold</translation>
    </message>
    <message>
        <source>trees</source>
        <translation>Bäume</translation>
    </message>
    <message>
        <source>stones</source>
        <translation>Steine</translation>
    </message>
    <message>
        <source>fish</source>
        <translation>Fische</translation>
    </message>
    <message>
        <source>steps to a mine</source>
        <translation>Schritte bis zum Bergwerk</translation>
    </message>
    <message>
        <source>error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>Recompute shading and building quality</source>
        <translation>Schattierung und Bauqualität neu berechnen</translation>
    </message>
    <message>
        <source>Rebuild the area table</source>
        <translation>Gebietstabelle neu aufbauen</translation>
    </message>
    <message>
        <source>Take the players from the marks</source>
        <translation>Spieler aus den Markierungen übernehmen</translation>
    </message>
    <message>
        <source>Remove this mark</source>
        <translation>Diese Markierung entfernen</translation>
    </message>
    <message>
        <source>Not a Settlers II map file</source>
        <translation>Keine Kartendatei von Die Siedler II</translation>
    </message>
    <message>
        <source>Invalid map size</source>
        <translation>Ungültige Kartengröße</translation>
    </message>
    <message>
        <source>Settlers II view</source>
        <translation>Siedler-II-Ansicht</translation>
    </message>
    <message>
        <source>Unknown (%1)</source>
        <translation>Unbekannt (%1)</translation>
    </message>
    <message>
        <source>player %1</source>
        <translation>Spieler %1</translation>
    </message>
    <message>
        <source>size %1</source>
        <translation>Größe %1</translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation>%1 Bytes</translation>
    </message>
    <message>
        <source>Player %1: %2 x %3</source>
        <translation>Spieler %1: %2 x %3</translation>
    </message>
    <message>
        <source>Unknown bytes:</source>
        <translation>Unbekannte Bytes:</translation>
    </message>
    <message>
        <source>Map data %1</source>
        <translation>Kartendaten %1</translation>
    </message>
    <message>
        <source>Header: %1 %2 | %3 | %4 x %5 | %6 | %7 bytes</source>
        <translation>Kopf: %1 %2 | %3 | %4 x %5 | %6 | %7 Bytes</translation>
    </message>
</context>
<context>
    <name>trelvik::BlankMapDialog</name>
    <message>
        <source>New blank map</source>
        <translation>Neue leere Karte</translation>
    </message>
    <message>
        <source>&amp;Width:</source>
        <translation>&amp;Breite:</translation>
    </message>
    <message>
        <source>&amp;Height:</source>
        <translation>&amp;Höhe:</translation>
    </message>
    <message>
        <source>Wo&amp;rld:</source>
        <translation>&amp;Welt:</translation>
    </message>
    <message>
        <source>&amp;Terrain:</source>
        <translation>&amp;Gelände:</translation>
    </message>
    <message>
        <source>&amp;Ground height:</source>
        <translation>Gelände&amp;höhe:</translation>
    </message>
</context>
<context>
    <name>trelvik::BrushBar</name>
    <message>
        <source>&amp;Terrain</source>
        <translation>&amp;Gelände</translation>
    </message>
    <message>
        <source>&amp;Height</source>
        <translation>&amp;Höhe</translation>
    </message>
    <message>
        <source>&amp;Objects</source>
        <translation>&amp;Objekte</translation>
    </message>
    <message>
        <source>&amp;Resources</source>
        <translation>&amp;Rohstoffe</translation>
    </message>
    <message>
        <source>&amp;Animals</source>
        <translation>&amp;Tiere</translation>
    </message>
    <message>
        <source>&amp;Players</source>
        <translation>&amp;Spieler</translation>
    </message>
    <message>
        <source>Harbour &amp;marks</source>
        <translation>Ha&amp;fenplätze</translation>
    </message>
    <message>
        <source>Raise</source>
        <translation>Heben</translation>
    </message>
    <message>
        <source>Lower</source>
        <translation>Senken</translation>
    </message>
    <message>
        <source>Flatten</source>
        <translation>Ebnen</translation>
    </message>
    <message>
        <source>Smooth</source>
        <translation>Glätten</translation>
    </message>
    <message>
        <source>Coal</source>
        <translation>Kohle</translation>
    </message>
    <message>
        <source>Iron</source>
        <translation>Eisen</translation>
    </message>
    <message>
        <source>Gold</source>
        <translation>Gold</translation>
    </message>
    <message>
        <source>Granite</source>
        <translation>Granit</translation>
    </message>
    <message>
        <source>Water</source>
        <translation>Wasser</translation>
    </message>
    <message>
        <source>Fish</source>
        <translation>Fisch</translation>
    </message>
    <message>
        <source>Erase</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Mark</source>
        <translation>Markieren</translation>
    </message>
    <message>
        <source>Brushes</source>
        <translation>Pinsel</translation>
    </message>
    <message>
        <source>&amp;Inspect</source>
        <translation>&amp;Ansehen</translation>
    </message>
    <message>
        <source>Inspect: no brush (Esc)</source>
        <translation>Ansehen: kein Pinsel (Esc)</translation>
    </message>
    <message>
        <source>Si&amp;ze</source>
        <translation>&amp;Größe</translation>
    </message>
    <message>
        <source>What the brush puts down</source>
        <translation>Was der Pinsel setzt</translation>
    </message>
    <message>
        <source>Am&amp;ount</source>
        <translation>&amp;Menge</translation>
    </message>
    <message>
        <source>What the brush does</source>
        <translation>Was der Pinsel tut</translation>
    </message>
    <message>
        <source>Tree</source>
        <translation>Baum</translation>
    </message>
    <message>
        <source>Granite, size %1</source>
        <translation>Granit, Größe %1</translation>
    </message>
    <message>
        <source>Decoration</source>
        <translation>Schmuck</translation>
    </message>
    <message>
        <source>Player %1</source>
        <translation>Spieler %1</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Click a point to read it; drag to move the map</source>
        <translation>Klick auf einen Punkt zeigt ihn; Ziehen verschiebt die Karte</translation>
    </message>
    <message>
        <source>Paint: %1</source>
        <translation>Malen: %1</translation>
    </message>
    <message>
        <source>Flatten to the first point&apos;s height</source>
        <translation>Auf die Höhe des ersten Punkts ebnen</translation>
    </message>
    <message>
        <source>%1 by %2</source>
        <translation>%1 um %2</translation>
    </message>
    <message>
        <source>Erase trees, granite and decorations</source>
        <translation>Bäume, Granit und Schmuck entfernen</translation>
    </message>
    <message>
        <source>Place: %1</source>
        <translation>Setzen: %1</translation>
    </message>
    <message>
        <source>Erase resources</source>
        <translation>Rohstoffe entfernen</translation>
    </message>
    <message>
        <source>Place: %1 %2</source>
        <translation>Setzen: %1 %2</translation>
    </message>
    <message>
        <source>Erase animals</source>
        <translation>Tiere entfernen</translation>
    </message>
    <message>
        <source>Place the headquarters of %1 (drag a mark to move it)</source>
        <translation>Hauptquartier von %1 setzen (eine Marke ziehen verschiebt sie)</translation>
    </message>
    <message>
        <source>Erase harbour marks</source>
        <translation>Hafenplätze entfernen</translation>
    </message>
    <message>
        <source>Mark harbour sites on castle points by the water</source>
        <translation>Hafenplätze auf Burgplätzen am Wasser markieren</translation>
    </message>
    <message>
        <source>%1, 1 point across</source>
        <translation>%1, 1 Punkt breit</translation>
    </message>
    <message>
        <source>%1, %2 points across</source>
        <translation>%1, %2 Punkte breit</translation>
    </message>
    <message>
        <source>Click a headquarters to remove it; the players after it move up one</source>
        <translation>Klick auf ein Hauptquartier entfernt es; die Spieler danach rücken auf</translation>
    </message>
</context>
<context>
    <name>trelvik::CheckFindingsModel</name>
    <message>
        <source>Severity</source>
        <translation>Stufe</translation>
    </message>
    <message>
        <source>Code</source>
        <translation>Code</translation>
    </message>
    <message>
        <source>Point</source>
        <translation>Punkt</translation>
    </message>
    <message>
        <source>Finding</source>
        <translation>Befund</translation>
    </message>
</context>
<context>
    <name>trelvik::CheckPanel</name>
    <message>
        <source>no problems found</source>
        <translation>keine Probleme gefunden</translation>
    </message>
    <message>
        <source>1 error</source>
        <translation>1 Fehler</translation>
    </message>
    <message>
        <source>%1 errors</source>
        <translation>%1 Fehler</translation>
    </message>
    <message>
        <source>1 warning</source>
        <translation>1 Warnung</translation>
    </message>
    <message>
        <source>%1 warnings</source>
        <translation>%1 Warnungen</translation>
    </message>
    <message>
        <source>Fix</source>
        <translation>Beheben</translation>
    </message>
    <message>
        <source>There is no map to check.</source>
        <translation>Es ist keine Karte zum Prüfen offen.</translation>
    </message>
    <message>
        <source>Choose a finding to fix</source>
        <translation>Einen Befund zum Beheben auswählen</translation>
    </message>
    <message>
        <source>This finding has no safe fix</source>
        <translation>Für diesen Befund gibt es keine sichere Behebung</translation>
    </message>
    <message>
        <source>Fix this finding (can be undone)</source>
        <translation>Diesen Befund beheben (lässt sich rückgängig machen)</translation>
    </message>
</context>
<context>
    <name>trelvik::InsaneProgress</name>
    <message>
        <source>Progress</source>
        <translation>Fortschritt</translation>
    </message>
    <message>
        <source>%1%</source>
        <translation>%1 %</translation>
    </message>
</context>
<context>
    <name>trelvik::MapView</name>
    <message>
        <source>Map picture</source>
        <translation>Kartenbild</translation>
    </message>
    <message>
        <source>There is no picture to copy.</source>
        <translation>Es gibt kein Bild zum Kopieren.</translation>
    </message>
    <message>
        <source>The picture of %1 x %2 points is too large to copy.</source>
        <translation>Das Bild mit %1 x %2 Punkten ist zu groß zum Kopieren.</translation>
    </message>
</context>
<context>
    <name>trelvik::MessageBoxes</name>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;Ja</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;Nein</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>&amp;Discard</source>
        <translation>&amp;Verwerfen</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
</context>
<context>
    <name>trelvik::NewMapDialog</name>
    <message>
        <source>New map</source>
        <translation>Neue Karte</translation>
    </message>
    <message>
        <source>Greenland</source>
        <translation>Grünland</translation>
    </message>
    <message>
        <source>Wasteland</source>
        <translation>Ödland</translation>
    </message>
    <message>
        <source>Winter</source>
        <translation>Winterwelt</translation>
    </message>
    <message>
        <source>0 (terrain only)</source>
        <translation>0 (nur Gelände)</translation>
    </message>
    <message>
        <source>Finish the map for this many players: headquarters far apart, trees, granite, resources, building quality, shading and areas</source>
        <translation>Die Karte für so viele Spieler spielfertig machen: Hauptquartiere weit auseinander, Bäume, Granit, Bodenschätze, Bauqualität, Schattierung und Gebiete</translation>
    </message>
    <message>
        <source>S&amp;ymmetric: every start on the same ground</source>
        <translation>S&amp;ymmetrisch: jeder Start auf gleichem Boden</translation>
    </message>
    <message>
        <source>For 2 or 4 players: the map is mirrored (left and right, or top and bottom, or both), so that every player starts on the same ground</source>
        <translation>Für 2 oder 4 Spieler: Die Karte wird gespiegelt (links und rechts, oben und unten oder beides), sodass jeder Spieler auf gleichem Boden beginnt</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>&amp;Width:</source>
        <translation>&amp;Breite:</translation>
    </message>
    <message>
        <source>&amp;Height:</source>
        <translation>&amp;Höhe:</translation>
    </message>
    <message>
        <source>&amp;Mode:</source>
        <translation>&amp;Modus:</translation>
    </message>
    <message>
        <source>&amp;Seed:</source>
        <translation>S&amp;tartwert:</translation>
    </message>
    <message>
        <source>&amp;Players:</source>
        <translation>S&amp;pieler:</translation>
    </message>
    <message>
        <source>Wo&amp;rld:</source>
        <translation>&amp;Welt:</translation>
    </message>
</context>
<context>
    <name>trelvik::ctlTabs</name>
    <message>
        <source>Tab %1</source>
        <translation>Reiter %1</translation>
    </message>
</context>
<context>
    <name>trelvik::frmAbout</name>
    <message>
        <source>Version %1.%2.%3</source>
        <translation>Version %1.%2.%3</translation>
    </message>
    <message>
        <source>Generates maps for the classic game, The Settlers II</source>
        <translation>Erzeugt Karten für den Spieleklassiker Die Siedler II</translation>
    </message>
    <message>
        <source>Free software under the GNU General Public License, version 3 or later. It comes with no warranty.</source>
        <translation>Freie Software unter der GNU General Public License, Version 3 oder neuer. Ohne jede Gewährleistung.</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;System Info</source>
        <translation>&amp;Systeminfo</translation>
    </message>
    <message>
        <source>About %1</source>
        <translation>Über %1</translation>
    </message>
    <message>
        <source>System Information Is Unavailable At This Time</source>
        <translation>Systeminformationen sind zurzeit nicht verfügbar</translation>
    </message>
</context>
<context>
    <name>trelvik::frmLoad</name>
    <message>
        <source>Map check</source>
        <translation>Kartenprüfung</translation>
    </message>
    <message>
        <source>The fix found nothing to change.</source>
        <translation>Beim Beheben gab es nichts zu ändern.</translation>
    </message>
    <message>
        <source>Map name:</source>
        <translation>Kartenname:</translation>
    </message>
    <message>
        <source>Map author:</source>
        <translation>Autor:</translation>
    </message>
    <message>
        <source>World type:</source>
        <translation>Welt:</translation>
    </message>
    <message>
        <source>Size:</source>
        <translation>Größe:</translation>
    </message>
    <message>
        <source>Players:</source>
        <translation>Spieler:</translation>
    </message>
    <message>
        <source>&amp;Change</source>
        <translation>&amp;Ändern</translation>
    </message>
    <message>
        <source>Set map and author name (file wiil not be saved)</source>
        <translation>Kartenname und Autor übernehmen (die Datei wird nicht gespeichert)</translation>
    </message>
    <message>
        <source>&amp;Restore</source>
        <translation>&amp;Zurücksetzen</translation>
    </message>
    <message>
        <source>Restore current map and author names</source>
        <translation>Gespeicherten Kartennamen und Autor wieder anzeigen</translation>
    </message>
    <message>
        <source>Seed</source>
        <translation>Startwert</translation>
    </message>
    <message>
        <source>Re&amp;load map</source>
        <translation>Karte &amp;neu laden</translation>
    </message>
    <message>
        <source>Reload map file</source>
        <translation>Kartendatei neu laden</translation>
    </message>
    <message>
        <source>Headquarters</source>
        <translation>Hauptquartiere</translation>
    </message>
    <message>
        <source>How the starts compare</source>
        <translation>Vergleich der Startpositionen</translation>
    </message>
    <message>
        <source>Animals</source>
        <translation>Tiere</translation>
    </message>
    <message>
        <source>Passable areas</source>
        <translation>Passierbare Gebiete</translation>
    </message>
    <message>
        <source>Changed file header (file not saved).</source>
        <translation>Dateikopf geändert (Datei nicht gespeichert).</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>Select &amp;all</source>
        <translation>&amp;Alles auswählen</translation>
    </message>
    <message>
        <source>Point read-out</source>
        <translation>Punktanzeige</translation>
    </message>
    <message>
        <source>Layer</source>
        <translation>Ebene</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>Zoom &amp;In</source>
        <translation>Ver&amp;größern</translation>
    </message>
    <message>
        <source>Zoom &amp;Out</source>
        <translation>Ver&amp;kleinern</translation>
    </message>
    <message>
        <source>&amp;Actual Size</source>
        <translation>&amp;Originalgröße</translation>
    </message>
    <message>
        <source>&amp;Fit</source>
        <translation>&amp;Einpassen</translation>
    </message>
    <message>
        <source>Fit &amp;new maps</source>
        <translation>&amp;Neue Karten einpassen</translation>
    </message>
    <message>
        <source>&amp;Language</source>
        <translation>&amp;Sprache</translation>
    </message>
    <message>
        <source>&amp;System language</source>
        <translation>&amp;Systemsprache</translation>
    </message>
    <message>
        <source>Trelvik shows the language chosen when it starts again.</source>
        <translation>Trelvik zeigt die gewählte Sprache beim nächsten Start.</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederholen</translation>
    </message>
    <message>
        <source>&amp;Undo %1</source>
        <translation>&amp;Rückgängig: %1</translation>
    </message>
    <message>
        <source>&amp;Redo %1</source>
        <translation>&amp;Wiederholen: %1</translation>
    </message>
    <message>
        <source>Map information</source>
        <translation>Karteninformationen</translation>
    </message>
    <message>
        <source>Map data view</source>
        <translation>Kartendatenansicht</translation>
    </message>
    <message>
        <source>Animals (file footer)</source>
        <translation>Tiere (Dateiende)</translation>
    </message>
    <message>
        <source>Passable areas (max 250 items, from header)</source>
        <translation>Passierbare Gebiete (höchstens 250 Einträge, aus dem Dateikopf)</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>HQ</source>
        <translation>HQ</translation>
    </message>
    <message>
        <source>View</source>
        <translation>Ansicht</translation>
    </message>
    <message>
        <source>Areas</source>
        <translation>Gebiete</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>&amp;Neu</translation>
    </message>
    <message>
        <source>New &amp;with choices...</source>
        <translation>Neu mit &amp;Auswahl...</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>Ö&amp;ffnen...</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>Save &amp;As...</source>
        <translation>Speichern &amp;unter...</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Copy image</source>
        <translation>Bild &amp;kopieren</translation>
    </message>
    <message>
        <source>Copy &amp;view</source>
        <translation>&amp;Ansicht kopieren</translation>
    </message>
    <message>
        <source>Copy co&amp;mmand</source>
        <translation>&amp;Befehl kopieren</translation>
    </message>
    <message>
        <source>&amp;Tools</source>
        <translation>E&amp;xtras</translation>
    </message>
    <message>
        <source>&amp;Coastal castle fix...</source>
        <translation>&amp;Häfen an der Küste...</translation>
    </message>
    <message>
        <source>Remove &amp;animals</source>
        <translation>&amp;Tiere entfernen</translation>
    </message>
    <message>
        <source>&amp;Recompute shading and building quality</source>
        <translation>Schattierung und Bauqualität neu &amp;berechnen</translation>
    </message>
    <message>
        <source>Check &amp;map</source>
        <translation>Karte &amp;prüfen</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;About Trelvik...</source>
        <translation>&amp;Über Trelvik...</translation>
    </message>
    <message>
        <source>Generating a new map... (%1 x %2) %3</source>
        <translation>Neue Karte wird erzeugt... (%1 x %2) %3</translation>
    </message>
    <message>
        <source>Seed: %1 (%2)</source>
        <translation>Startwert: %1 (%2)</translation>
    </message>
    <message>
        <source>Seed: %1 (%2), %3 players%4</source>
        <translation>Startwert: %1 (%2), %3 Spieler%4</translation>
    </message>
    <message>
        <source>, symmetric</source>
        <translation>, symmetrisch</translation>
    </message>
    <message>
        <source>The headquarters are at least %1 steps apart</source>
        <translation>Die Hauptquartiere liegen mindestens %1 Schritte auseinander</translation>
    </message>
    <message>
        <source>There is now %1 new positions for harbors!<byte value="xd"/>
<byte value="xd"/>
Remember to save!</source>
        <translation>Es gibt jetzt %1 neue Hafenplätze!</translation>
    </message>
    <message>
        <source>There were no positions to fix</source>
        <translation>Es gab keine Plätze zu korrigieren</translation>
    </message>
    <message>
        <source>Are you sure you want to remove all animals?</source>
        <translation>Sollen wirklich alle Tiere entfernt werden?</translation>
    </message>
    <message>
        <source>File footer cleared</source>
        <translation>Dateiende geleert</translation>
    </message>
    <message>
        <source>There is no map to work on yet</source>
        <translation>Es gibt noch keine Karte zum Bearbeiten</translation>
    </message>
    <message>
        <source>Shading and building quality recomputed.</source>
        <translation>Schattierung und Bauqualität neu berechnet.</translation>
    </message>
    <message>
        <source>Shading and building quality were already as recomputed.</source>
        <translation>Schattierung und Bauqualität waren schon auf dem neuesten Stand.</translation>
    </message>
    <message>
        <source>Settlers II Map Editor file (*.swd)|*.swd|Settlers II World file (*.wld)|*.wld|All files (*.*)|*.*</source>
        <translation>Siedler-II-Karteneditor-Datei (*.swd)|*.swd|Siedler-II-Weltdatei (*.wld)|*.wld|Alle Dateien (*.*)|*.*</translation>
    </message>
    <message>
        <source>Save changes to %1?</source>
        <translation>Änderungen an %1 speichern?</translation>
    </message>
    <message>
        <source>There is no map to save yet</source>
        <translation>Es gibt noch keine Karte zum Speichern</translation>
    </message>
    <message>
        <source>Save map as...</source>
        <translation>Karte speichern unter...</translation>
    </message>
    <message>
        <source>Settlers II map files (*.dat;*.swd;*.wld)|*.dat;*.swd;*.wld|All files (*.*)|*.*</source>
        <translation>Siedler-II-Kartendateien (*.dat;*.swd;*.wld)|*.dat;*.swd;*.wld|Alle Dateien (*.*)|*.*</translation>
    </message>
    <message>
        <source>Open file...</source>
        <translation>Datei öffnen...</translation>
    </message>
    <message>
        <source>Cannot open the file &apos;%1&apos;: it is not a regular file.</source>
        <translation>Die Datei „%1“ lässt sich nicht öffnen: Sie ist keine gewöhnliche Datei.</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>File &apos;%1&apos; saved successfully!</source>
        <translation>Datei „%1“ erfolgreich gespeichert!</translation>
    </message>
    <message>
        <source>Can&apos;t reload from file: map not saved</source>
        <translation>Neu laden nicht möglich: Die Karte ist nicht gespeichert</translation>
    </message>
    <message>
        <source> (outside the map)</source>
        <translation> (außerhalb der Karte)</translation>
    </message>
    <message>
        <source>New &amp;blank map...</source>
        <translation>&amp;Leere Karte...</translation>
    </message>
    <message>
        <source>&amp;Brushes</source>
        <translation>&amp;Pinselleiste</translation>
    </message>
    <message>
        <source>Check: %1</source>
        <translation>Prüfung: %1</translation>
    </message>
    <message>
        <source>&amp;Tools</source>
        <comment>the brushes</comment>
        <translation>&amp;Pinsel</translation>
    </message>
    <message>
        <source>The palette file &apos;%1&apos; is missing or cannot be read, so the picture lacks its colours. The palettes Greenland.pal, Wasteland.pal and Winter.pal belong beside the program: install Trelvik again or copy them there.</source>
        <translation>Die Palettendatei &apos;%1&apos; fehlt oder kann nicht gelesen werden, daher fehlen dem Bild seine Farben. Die Paletten Greenland.pal, Wasteland.pal und Winter.pal gehören neben das Programm: Installieren Sie Trelvik erneut oder kopieren Sie sie dorthin.</translation>
    </message>
    <message>
        <source>The palette file &apos;%1&apos; is damaged, so the picture lacks some of its colours. Install Trelvik again to get the palettes Greenland.pal, Wasteland.pal and Winter.pal back.</source>
        <translation>Die Palettendatei &apos;%1&apos; ist beschädigt, daher fehlen dem Bild einige seiner Farben. Installieren Sie Trelvik erneut, um die Paletten Greenland.pal, Wasteland.pal und Winter.pal wiederherzustellen.</translation>
    </message>
</context>
<context>
    <name>trelvik::propTabCaptions</name>
    <message>
        <source>Tab Captions</source>
        <translation>Reiterbeschriftungen</translation>
    </message>
    <message>
        <source>Caption:</source>
        <translation>Beschriftung:</translation>
    </message>
    <message>
        <source>Down</source>
        <translation>Nach unten</translation>
    </message>
    <message>
        <source>Up</source>
        <translation>Nach oben</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
</context>
</TS>
