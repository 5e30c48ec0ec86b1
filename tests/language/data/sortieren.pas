{ Sortiert zehn Zahlen mit Bubblesort und gibt sie vorher und nachher aus. }
program Sortieren;

const
  Anzahl = 10;

type
  TFeld = array[1..Anzahl] of Integer;

var
  Feld: TFeld;
  i, j: Integer;

(* Vertauscht zwei Werte *)
procedure Tausche(var a, b: Integer);
var
  Hilf: Integer;
begin
  Hilf := a;
  a := b;
  b := Hilf
end;

procedure Ausgeben(const f: TFeld);
var
  k: Integer;
begin
  for k := 1 to Anzahl do
    Write(f[k]:4);
  WriteLn
end;

begin
  // Feld füllen
  for i := 1 to Anzahl do
    Feld[i] := (i * 37) mod 11;
  // Ende Feld füllen
  Ausgeben(Feld);
  for i := 1 to Anzahl - 1 do
    for j := Anzahl downto i + 1 do
      if Feld[j - 1] > Feld[j] then
        Tausche(Feld[j - 1], Feld[j]);
  Ausgeben(Feld);
end.
